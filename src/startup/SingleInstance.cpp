#include "startup/SingleInstance.h"

#include "base/SessionMutex.h"

SingleInstance::SingleInstance(std::string_view name) { mutex_ = CreateSessionMutex(name, &anotherIsRunning_); }
