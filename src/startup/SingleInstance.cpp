#include "startup/SingleInstance.h"

SingleInstance::SingleInstance()
    : mutex_(CreateMutexA(nullptr, FALSE, "Local\\Orvalle.Jukelet.Configuration")),
      anotherIsRunning_(GetLastError() == ERROR_ALREADY_EXISTS) {}
