// The launcher's QtTest classes, each registered by its own file, run by one main.
#pragma once

#include <QObject>

#include <functional>
#include <memory>
#include <vector>

namespace tamtara::testing {

using TestFactory = std::function<std::unique_ptr<QObject>()>;

std::vector<TestFactory>& LauncherTests();

// Registers a test class at start-up: static const bool registered = RegisterLauncherTest<T>();
template <class T> bool RegisterLauncherTest() {
    LauncherTests().push_back([] { return std::make_unique<T>(); });
    return true;
}

} // namespace tamtara::testing
