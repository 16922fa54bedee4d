// Telling roots apart by as few trailing path components as possible.
#include "library/RootLabels.h"

#include <map>

namespace tamtara {

namespace {

// The last count components of path ("/" for the root directory); whole says whether they
// are all of them.
std::string Tail(const std::string& path, std::size_t count, bool& whole) {
    whole = true;
    if (path == "/") return path;
    std::size_t start = path.size();
    for (std::size_t taken = 0; taken < count; ++taken) {
        const std::size_t slash = start == 0 ? std::string::npos : path.rfind('/', start - 1);
        if (slash == std::string::npos) return path;
        start = slash;
    }
    whole = path.find_first_not_of('/') >= start;
    return path.substr(start + 1);
}

} // namespace

std::vector<std::string> RootLabels(const std::vector<std::string>& roots) {
    std::vector<std::size_t> depth(roots.size(), 1);
    std::vector<std::string> labels(roots.size());
    std::vector<char> whole(roots.size(), 0);
    for (bool changed = true; changed;) {
        changed = false;
        std::map<std::string, int> uses;
        for (std::size_t i = 0; i < roots.size(); ++i) {
            bool all = false;
            uses[labels[i] = Tail(roots[i], depth[i], all)] += 1;
            whole[i] = all;
        }
        for (std::size_t i = 0; i < roots.size(); ++i) {
            if (uses[labels[i]] < 2 || whole[i]) continue;
            depth[i] += 1;
            changed = true;
        }
    }
    return labels;
}

std::string FolderLabelBelowRoots(const std::string& folder, const std::vector<std::string>& roots,
                                  const std::vector<std::string>& labels) {
    std::size_t best = roots.size();
    for (std::size_t i = 0; i < roots.size() && i < labels.size(); ++i) {
        const std::string& root = roots[i];
        const bool holds =
            folder == root || (folder.compare(0, root.size(), root) == 0 &&
                               (root == "/" || (folder.size() > root.size() && folder[root.size()] == '/')));
        if (holds && (best == roots.size() || root.size() > roots[best].size())) best = i;
    }
    if (best == roots.size()) return folder;
    if (folder == roots[best]) return labels[best];
    const std::size_t skip = roots[best] == "/" ? 1 : roots[best].size() + 1;
    return labels[best] + (labels[best] == "/" ? "" : "/") + folder.substr(skip);
}

} // namespace tamtara
