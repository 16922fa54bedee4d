// The Windows font family names the game and the launcher ask for, made known to the process's
// own fontconfig setup, so any toolkit that asks fontconfig gets the same faces as the game.
#pragma once

#include <string>

namespace tamtara {

// Adds the aliases ("ＭＳ Ｐゴシック" → IPAPGothic, …) to fontconfig's current configuration.
// Call before a toolkit reads its fonts; calling it again does no harm.
void RegisterFontAliases();

// The family a Windows name is aliased to, or the name itself.
std::string AliasedFamily(const std::string& name);

} // namespace tamtara
