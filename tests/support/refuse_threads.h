// Makes thread starts fail, as on a system that has no more threads to give.

#ifndef VORN_TESTS_SUPPORT_REFUSE_THREADS_H_
#define VORN_TESTS_SUPPORT_REFUSE_THREADS_H_

#include <pthread.h>

#include <cstddef>

namespace vorn {

// Every thread started from now on in this process asks for a stack far
// larger than the system can give, so that starting it fails. For a child
// process of a death test: the setting cannot be taken back.
inline void RefuseNewThreads() {
  pthread_attr_t attr;
  pthread_attr_init(&attr);
  pthread_attr_setstacksize(&attr, size_t{1} << 46);
  pthread_setattr_default_np(&attr);
  pthread_attr_destroy(&attr);
}

}  // namespace vorn

#endif  // VORN_TESTS_SUPPORT_REFUSE_THREADS_H_
