#include "view/PathShortening.h"

namespace {
// Removes the first directory of dir, marking the cut with "...\".
std::string CutFirstDirectory(std::string dir)
{
    if (dir == "\\")
        return {};
    const bool rooted = dir.front() == '\\';
    if (rooted)
        dir.erase(0, 1);
    if (!dir.empty() && dir.front() == '.')
        dir.erase(0, 4); // the "...\" of an earlier cut
    const size_t separator = dir.find('\\');
    dir = separator == std::string::npos ? std::string() : "...\\" + dir.substr(separator + 1);
    return rooted ? "\\" + dir : dir;
}
} // namespace

std::string ShortenPath(const std::string& text, int limit, const std::function<int(const std::string&)>& measure)
{
    const size_t split = text.find_last_of("\\:");
    std::string dir = split == std::string::npos ? std::string() : text.substr(0, split + 1);
    const std::string file = split == std::string::npos ? text : text.substr(split + 1);
    std::string drive;
    if (dir.size() >= 2 && dir[1] == ':') {
        drive = dir.substr(0, 2);
        dir.erase(0, 2);
    }

    std::string result = text;
    while ((!dir.empty() || !drive.empty()) && measure(result) > limit) {
        if (dir == "\\...\\") {
            drive.clear();
            dir = "...\\";
        } else if (dir.empty()) {
            drive.clear();
        } else {
            dir = CutFirstDirectory(dir);
        }
        result = drive + dir + file;
    }
    return result;
}
