// A shared library that loads fine but does not export Halvik.
extern "C" __attribute__((visibility("default"))) int NotHalvik() { return 0; }
