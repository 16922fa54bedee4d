// The names the selection screens give song folders when the library has several roots: each
// root by its own name, lengthened by its parents' names until no two roots read alike.
#pragma once

#include <string>
#include <vector>

namespace tamtara {

// One name per root (absolute, normalised paths, none repeated): the last path component, with
// as many parent components before it as it takes to tell it apart from every other root's.
std::vector<std::string> RootLabels(const std::vector<std::string>& roots);

// The label of a folder of the library: the name of the deepest root holding it, then "/" and
// its path below that root; the root itself is its name alone. A folder under no root keeps
// its whole path. Bytes as the file system keeps them.
std::string FolderLabelBelowRoots(const std::string& folder, const std::vector<std::string>& roots,
                                  const std::vector<std::string>& labels);

} // namespace tamtara
