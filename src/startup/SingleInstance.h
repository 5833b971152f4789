#pragma once
#include "runtime/String.h"

#include "base/UniqueHandle.h"

// The name the configuration window is guarded by.
constexpr const char* ConfigurationInstanceName = "Local\\Orvalle.Jukelet.Configuration";

// Held while a configuration window is open, so a second one is never shown.
class SingleInstance {
public:
    explicit SingleInstance(std::string_view name = ConfigurationInstanceName);
    bool AnotherIsRunning() const { return anotherIsRunning_; }

private:
    KernelHandle mutex_;
    bool anotherIsRunning_ = false;
};
