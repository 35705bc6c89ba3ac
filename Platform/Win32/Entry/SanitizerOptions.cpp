// Defaults of the sanitizer runtime for every program of the sanitizer build (the game and the test
// programs); ASAN_OPTIONS and LSAN_OPTIONS can still override them.
//
// intercept_tls_get_addr=0: the runtime of GCC 12 guesses the extent of a thread's dynamic TLS
// block (thread-local data of a library loaded with dlopen, such as the GL driver's LLVM) from a
// header glibc stopped writing in 2.25. Since then the block is an ordinary malloc block, and when
// one happens to start 16 bytes into a page (one in 256) two words of the allocator's own header
// are taken for its start and size: the leak checker's tracer then faults scanning that range at
// exit ("Tracer caught signal 11"), whatever the tests did. Without the guess such a block is
// reached like any heap block, through the thread's pointer to it.
extern "C" const char* __asan_default_options() { return "intercept_tls_get_addr=0"; }
