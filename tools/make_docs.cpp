// make_docs xml OUT | man OUT DATADIR: writes XScreenSaver's settings file or the manual page
// from the program's table of options, so neither can drift from what the program accepts.
#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>

#include "app/man_page.h"
#include "app/xscreensaver_xml.h"

int main(int argc, char** argv) {
    std::string text;
    if (argc == 3 && !std::strcmp(argv[1], "xml")) {
        text = XScreenSaverXml();
    } else if (argc == 4 && !std::strcmp(argv[1], "man")) {
        text = ManPage(argv[3]);
    } else {
        std::fprintf(stderr, "usage: make_docs xml OUT | make_docs man OUT DATADIR\n");
        return 2;
    }
    std::ofstream out(argv[2], std::ios::binary | std::ios::trunc);
    out << text;
    out.close();
    if (!out) {
        std::fprintf(stderr, "make_docs: cannot write %s\n", argv[2]);
        return 1;
    }
    return 0;
}
