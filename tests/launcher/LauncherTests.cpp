// The list of the launcher's test classes.
#include "launcher/LauncherTests.h"

namespace tamtara::testing {

std::vector<TestFactory>& LauncherTests() {
    static std::vector<TestFactory> tests;
    return tests;
}

} // namespace tamtara::testing
