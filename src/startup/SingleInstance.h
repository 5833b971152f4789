#pragma once
#include "base/UniqueHandle.h"

// Held while a configuration window is open, so a second one is never shown.
class SingleInstance {
public:
    SingleInstance();
    bool AnotherIsRunning() const { return anotherIsRunning_; }

private:
    KernelHandle mutex_;
    bool anotherIsRunning_ = false;
};
