// The records and entry points that cross the HalvikLib boundary.
// Plain C layout: the program, the command line and outside callers (ctypes,
// other languages) rely on these exact sizes and offsets.
#ifndef ORVENDA_COMMON_HALVIK_API_H
#define ORVENDA_COMMON_HALVIK_API_H

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

#if defined(HALVIK_BUILDING_LIBRARY)
#define HALVIK_API __attribute__((visibility("default")))
#else
#define HALVIK_API
#endif

/* Calling from several threads: Halvik, HalvikMain and HalvikMainVB may be
   called from any number of threads at once, and each call writes exactly the
   bytes it writes alone. A call keeps all its state to itself; only the
   progress window layer is shared, and it guards its shared parts. In a
   program running a Qt GUI only calls on the GUI thread show a window; a
   terminal shows one progress line at a time. Calls that name the same
   OutPath each write their own temporary file: the file is afterwards one
   complete result, the one renamed last. Numbers are written and read the
   same whatever locale (LC_NUMERIC, LC_ALL) the calling process has set. */

/* Settings of one conversion. Enumerations use -1 for "write no header line".
   Gains and offsets are thousandths (1000 = 1.0). */
typedef struct ConversionSettings {
    double Fs;               /* sampling frequency, Hz */
    double IFFreq;           /* carrier or offset frequency, Hz */
    double AWGGain;          /* amplitude factor, 0.0 .. 1.0 */
    int32_t IQFilter;        /* -1, 0 FLT2_5M, 1 FLT50M, 2 THR */
    int32_t MarkerFlags;     /* HALVIK_MARKER_* bits */
    int32_t IQInv;           /* nonzero: Q in word A, I in word B */
    int32_t IFConvert;       /* exactly 1: shift to IF */
    int32_t IFMode;          /* 0 real IF, nonzero complex frequency shift */
    int32_t StartTrigger;    /* -1, 0 internal, 1 link */
    int32_t TriggerPolarity; /* 0 POS, 1 NEG (link only) */
    int32_t OutputSequence;  /* -1, 0 continuous, 1 single, 2 gated */
    int32_t LoopNum;         /* count of the single run */
    int32_t GateMode;        /* 0 edge, 1 level (gated only) */
    int32_t IQOutput;        /* -1, 0 fixed path, 1 variable path */
    int32_t IOutputGain;     /* thousandths */
    int32_t QOutputGain;     /* thousandths */
    int32_t IQOffset;        /* -1 no offset line, 0 offset line */
    int32_t IOffset;         /* thousandths */
    int32_t QOffset;         /* thousandths */
} ConversionSettings;

/* MarkerFlags bits: which MARKER1/MARKER2 header lines and which MARKERMODE
   line the header gets (WFM wins over SEQ). */
enum {
    HALVIK_MARKER_BOTH_LINES = 0x1, /* MARKER1 and MARKER2 lines */
    HALVIK_MARKER_1_LINE = 0x2,
    HALVIK_MARKER_2_LINE = 0x4,
    HALVIK_MARKER_GROUP_OFF = 0x10, /* sent while the panel's marker group is off; ignored */
    HALVIK_MARKER_MODE_SEQ = 0x20,
    HALVIK_MARKER_MODE_WFM = 0x40
};

/* Marker change-point lists: the program keeps 1001 entries per marker (a
   marker data file gives at most that many); the engine walks only the first
   99, so an array passed to Halvik needs at least that many. */
enum { HALVIK_MARKER_LIST_ENTRIES = 1001, HALVIK_MARKER_ENTRIES_WALKED = 99 };

/* InputFileKind: bit set of an I file and a Q file, or one file with I and Q. */
enum { HALVIK_KIND_I_FILE = 1, HALVIK_KIND_Q_FILE = 2, HALVIK_KIND_IQ_FILE = 4 };
/* InputDataType of the one I/Q file. */
enum {
    HALVIK_TYPE_NONE = 0 /* nothing loaded */,
    HALVIK_TYPE_TEXT = 1,
    HALVIK_TYPE_INT16_PAIRS = 2,
    HALVIK_TYPE_FLOAT_PAIRS = 3
};

/* A change point of a marker: from sample Pos on the level is bit 0 of Value. */
typedef struct MarkerPoint {
    int32_t Pos;
    int32_t Value;
} MarkerPoint;

/* Converts SampleCount samples read from the input files into a waveform file.
   Returns 0 when OutPath was written completely, -1 otherwise; on -1 OutPath
   is left as it was before the call. The library reads but never keeps or
   frees anything passed in; each marker array must hold at least
   HALVIK_MARKER_ENTRIES_WALKED entries. */
HALVIK_API int32_t Halvik(const char* IPath, const char* QPath, int32_t InputDataType, int32_t InputFileKind,
                          const MarkerPoint* Marker1Points, const MarkerPoint* Marker2Points, int32_t SampleCount,
                          double PeakValue, const ConversionSettings* Settings, const char* OutPath);

/* Writes a waveform file from I/Q float pairs and per-sample marker levels held
   by the caller. -255 (-255.0) leaves a header line out. */
HALVIK_API int32_t HalvikMain(const float* IQData, const int16_t* Marker1Data, const int16_t* Marker2Data,
                              int32_t SampleCount, const char* OutPath, double IGain, double QGain, double IOffset,
                              double QOffset, double Fs, double AWGGain, int32_t IQFilter, int32_t MarkerMode,
                              int32_t Marker1State, int32_t Marker1Polarity, int32_t Marker1Param1,
                              int32_t Marker1Param2, int32_t Marker1Param3, int32_t Marker1Param4, int32_t Marker2State,
                              int32_t Marker2Polarity, int32_t Marker2Param1, int32_t Marker2Param2,
                              int32_t Marker2Param3, int32_t Marker2Param4, int32_t StartTrigger,
                              int32_t TriggerPolarity, int32_t OutputSequence, int32_t SequenceParam, int32_t IQOutput,
                              int32_t IQInv);

/* Same arguments and result as HalvikMain. */
HALVIK_API int32_t HalvikMainVB(const float* IQData, const int16_t* Marker1Data, const int16_t* Marker2Data,
                                int32_t SampleCount, const char* OutPath, double IGain, double QGain, double IOffset,
                                double QOffset, double Fs, double AWGGain, int32_t IQFilter, int32_t MarkerMode,
                                int32_t Marker1State, int32_t Marker1Polarity, int32_t Marker1Param1,
                                int32_t Marker1Param2, int32_t Marker1Param3, int32_t Marker1Param4,
                                int32_t Marker2State, int32_t Marker2Polarity, int32_t Marker2Param1,
                                int32_t Marker2Param2, int32_t Marker2Param3, int32_t Marker2Param4,
                                int32_t StartTrigger, int32_t TriggerPolarity, int32_t OutputSequence,
                                int32_t SequenceParam, int32_t IQOutput, int32_t IQInv);

typedef int32_t (*HalvikFunction)(const char*, const char*, int32_t, int32_t, const MarkerPoint*, const MarkerPoint*,
                                  int32_t, double, const ConversionSettings*, const char*);

#define HALVIK_LIBRARY_FILE_NAME "libHalvikLib.so"

#ifdef __cplusplus
} /* extern "C" */

static_assert(sizeof(ConversionSettings) == 88, "ConversionSettings is 88 bytes");
static_assert(offsetof(ConversionSettings, Fs) == 0);
static_assert(offsetof(ConversionSettings, IFFreq) == 8);
static_assert(offsetof(ConversionSettings, AWGGain) == 16);
static_assert(offsetof(ConversionSettings, IQFilter) == 24);
static_assert(offsetof(ConversionSettings, MarkerFlags) == 28);
static_assert(offsetof(ConversionSettings, IQInv) == 32);
static_assert(offsetof(ConversionSettings, IFConvert) == 36);
static_assert(offsetof(ConversionSettings, IFMode) == 40);
static_assert(offsetof(ConversionSettings, StartTrigger) == 44);
static_assert(offsetof(ConversionSettings, TriggerPolarity) == 48);
static_assert(offsetof(ConversionSettings, OutputSequence) == 52);
static_assert(offsetof(ConversionSettings, LoopNum) == 56);
static_assert(offsetof(ConversionSettings, GateMode) == 60);
static_assert(offsetof(ConversionSettings, IQOutput) == 64);
static_assert(offsetof(ConversionSettings, IOutputGain) == 68);
static_assert(offsetof(ConversionSettings, QOutputGain) == 72);
static_assert(offsetof(ConversionSettings, IQOffset) == 76);
static_assert(offsetof(ConversionSettings, IOffset) == 80);
static_assert(offsetof(ConversionSettings, QOffset) == 84);
static_assert(sizeof(MarkerPoint) == 8, "MarkerPoint is 8 bytes");
static_assert(offsetof(MarkerPoint, Pos) == 0);
static_assert(offsetof(MarkerPoint, Value) == 4);
#else
_Static_assert(sizeof(ConversionSettings) == 88, "ConversionSettings is 88 bytes");
_Static_assert(sizeof(MarkerPoint) == 8, "MarkerPoint is 8 bytes");
#endif

#endif
