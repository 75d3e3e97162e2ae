// What a read found of an entry's registry layout: its texts in the order
// of the layout table, and whether it used DDE. A commit compares an entry
// with it and writes only what the user changed, so nothing read from one
// layer of the classes is copied into the other, and nothing the list never
// showed is removed.
#pragma once
#include <string>
#include <vector>

struct LayoutSnapshot {
    std::vector<std::string> Texts;
    bool UsesDde = false;

    bool operator==(const LayoutSnapshot&) const = default;
};
