#pragma once

// Compound files read and written by libgsf, an implementation independent of
// ours. Kept free of glib and Qt so each side can include it.

#include <string>
#include <vector>

namespace tempolatch::test::gsf {

struct Element {
    std::string path;  // names in UTF-8 joined by '/'
    bool storage = false;
    std::string data;  // a stream's bytes
};

// Every element of the file, each storage's elements in the library's order;
// false (and why) when the library cannot read the file or complains.
bool readFile(const std::string& file, std::vector<Element>& elements, std::string& error);

// Writes the elements, each storage listed before what it holds.
bool writeFile(const std::string& file, const std::vector<Element>& elements, std::string& error);

}  // namespace tempolatch::test::gsf
