// Shortens a program line to a pixel width the way the detail panel shows
// it: leading directories give way to "...\" one at a time, then the drive,
// until the text fits or only the file name is left.
#pragma once
#include <functional>
#include <string>

// measure returns the width of a text in the same unit as limit.
std::string ShortenPath(const std::string& text, int limit, const std::function<int(const std::string&)>& measure);
