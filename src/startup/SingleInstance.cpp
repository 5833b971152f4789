#include "startup/SingleInstance.h"

#include "base/SessionMutex.h"

SingleInstance::SingleInstance(const std::string& name) { mutex_ = CreateSessionMutex(name, &anotherIsRunning_); }
