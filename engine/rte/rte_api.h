/* The progress run-time layer libOrvendaRte.so: the few operations the
   conversion engine uses to show its progress window. The engine does not
   link the layer; it loads it at run time and binds these names, so the
   engine itself never depends on a GUI toolkit.

   Results: 0 (or a positive panel handle) on success, a negative RteError
   on failure. Every operation may be called from several threads at once:
   each thread works on the panels it loaded, RteInit and RteClose are
   counted across all threads, and RteProcessDrawEvents draws the calling
   thread's panels. */
#ifndef ORVENDA_ENGINE_RTE_RTE_API_H
#define ORVENDA_ENGINE_RTE_RTE_API_H

#ifdef __cplusplus
extern "C" {
#endif

#if defined(ORVENDA_RTE_BUILDING_LIBRARY)
#define ORVENDA_RTE_API __attribute__((visibility("default")))
#else
#define ORVENDA_RTE_API
#endif

#define ORVENDA_RTE_LIBRARY_FILE_NAME "libOrvendaRte.so"

/* The one control attribute the layer knows: the text a progress control
   shows above its percentage (the stage of the conversion). */
#define RTE_ATTR_LABEL_TEXT 641

enum RteError {
    RTE_ERR_NOT_INITIALISED = -1, /* an operation before RteInit or after the last RteClose */
    RTE_ERR_PANEL_FILE = -2,      /* the panel file is missing or unreadable */
    RTE_ERR_MALFORMED = -3,       /* the panel file does not follow its format */
    RTE_ERR_NO_RESOURCE = -4,     /* the panel file has no panel with that resource id */
    RTE_ERR_NO_CONTROL = -5,      /* the panel or control named does not exist or cannot do that */
    RTE_ERR_BAD_HANDLE = -6,      /* no loaded panel has that handle */
    RTE_ERR_BAD_ARGUMENT = -7,    /* a null text, a parent other than 0, an unknown attribute */
    RTE_ERR_INTERNAL = -8         /* an unexpected failure inside the layer */
};

/* Starts the run-time. Nested calls are counted; each needs its RteClose. */
ORVENDA_RTE_API int RteInit(void);
/* Loads panel resource `resourceId` of the panel file `panelFile` as a new
   top-level panel (`parent` must be 0). The panel must hold control 2 of kind
   progress. Returns a positive handle, or a negative RteError. */
ORVENDA_RTE_API int RteLoadPanel(int parent, const char* panelFile, int resourceId);
ORVENDA_RTE_API int RteDisplayPanel(int panel);
/* Sets a text attribute (only RTE_ATTR_LABEL_TEXT) of a progress control. */
ORVENDA_RTE_API int RteSetCtrlAttribute(int panel, int control, int attribute, const char* text);
/* Shows a progress control's percentage; values are held to 0..100. */
ORVENDA_RTE_API int RteSetCtrlVal(int panel, int control, double value);
/* Redraws what changed in the loaded panels, without handling user input. */
ORVENDA_RTE_API int RteProcessDrawEvents(void);
ORVENDA_RTE_API int RteDiscardPanel(int panel);
/* Ends one RteInit; the last one discards any panel still loaded. */
ORVENDA_RTE_API int RteClose(void);

typedef int (*RteInitFunction)(void);
typedef int (*RteLoadPanelFunction)(int, const char*, int);
typedef int (*RteDisplayPanelFunction)(int);
typedef int (*RteSetCtrlAttributeFunction)(int, int, int, const char*);
typedef int (*RteSetCtrlValFunction)(int, int, double);
typedef int (*RteProcessDrawEventsFunction)(void);
typedef int (*RteDiscardPanelFunction)(int);
typedef int (*RteCloseFunction)(void);

#ifdef __cplusplus
} /* extern "C" */
#endif

#endif
