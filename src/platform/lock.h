// A lock for the module's shared state (the generator, the debug viewer
// stream). Its unlocked state is a constant, so a lock with static storage is
// ready before any initialisation code runs and needs no clean-up: nothing is
// left behind when the library is unloaded. A WebAssembly instance runs one
// thread, so there the lock holds nothing and its calls do nothing.
#pragma once

#if defined(_WIN32)
#include <windows.h>
#elif !defined(__wasi__)
#include <pthread.h>
#endif

namespace platform {

class Lock {
public:
    constexpr Lock() = default;
    Lock(const Lock&) = delete;
    Lock& operator=(const Lock&) = delete;

    void acquire();
    void release();

private:
#if defined(_WIN32)
    SRWLOCK native_ = SRWLOCK_INIT;
#elif !defined(__wasi__)
    pthread_mutex_t native_ = PTHREAD_MUTEX_INITIALIZER;
#endif
};

// Holds a lock for the life of the guard.
class LockGuard {
public:
    explicit LockGuard(Lock& lock) : lock_(lock) { lock_.acquire(); }
    ~LockGuard() { lock_.release(); }
    LockGuard(const LockGuard&) = delete;
    LockGuard& operator=(const LockGuard&) = delete;

private:
    Lock& lock_;
};

}  // namespace platform
