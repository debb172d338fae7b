#pragma once
// Filter expressions of the form "<field>=<number>" joined by AND, e.g.
// "Idf=7" or "Idr=3 AND Idf=7". An empty text filters nothing.
#include <string>
#include <vector>

struct TDbCondition {
    std::string Field;
    double Value = 0;
};

// Throws EDbError for any other form.
std::vector<TDbCondition> ParseDbFilter(const std::string &text);
