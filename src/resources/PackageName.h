// Case folding of package entry names, which are matched without regard to case.
#pragma once

#include <string>
#include <string_view>

namespace tamtara {

// Upper-cases the ASCII letters of name and nothing else. Names are UTF-8 here, but packages
// made elsewhere may carry Shift_JIS names, whose second bytes can fall on ASCII letters: when
// name is not valid UTF-8 the byte after each Shift_JIS lead byte is left as it is.
std::string UpperCasePackageName(std::string_view name);

} // namespace tamtara
