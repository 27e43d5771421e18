// How many threads one conversion may use: HALVIK_THREADS in the environment
// caps it (1 gives the single-threaded engine); without it, one per core.
#ifndef ORVENDA_ENGINE_THREAD_COUNT_H
#define ORVENDA_ENGINE_THREAD_COUNT_H

namespace halvik {

inline constexpr unsigned kMaxThreads = 256;

// requested > 0 wins; otherwise HALVIK_THREADS when it is a whole number
// 1..kMaxThreads; otherwise the number of cores.
unsigned conversionThreads(int requested = 0);

// The benchmark's reference: with HALVIK_BENCH_REFERENCE=1 an IF conversion
// computes every shifted sample twice (scan and write pass), and text is
// read one line at a time, as the engine did before it used threads. Not
// meant for users.
bool benchReferenceRequested();

}  // namespace halvik

#endif
