// Marks a function whose loop is compiled for several x86-64 levels and
// picked at load time: the wide vector units double the speed of the sample
// loops, while the library still runs on any x86-64. The instructions differ
// but every operation stays one IEEE operation (fused multiply-adds are off
// for the whole build), so the results are the same bits on every level.
#ifndef ORVENDA_ENGINE_HOT_LOOP_H
#define ORVENDA_ENGINE_HOT_LOOP_H

// Not under the sanitizers: their run-times are not up yet when the loader
// picks a clone, and the resolver would run instrumented code too early.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__) && \
    !defined(__SANITIZE_THREAD__)
#define HALVIK_HOT_LOOP __attribute__((target_clones("default", "arch=x86-64-v3", "arch=x86-64-v4")))
#else
#define HALVIK_HOT_LOOP
#endif

#endif
