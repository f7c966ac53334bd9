// SPDX-License-Identifier: MIT
// qon-content: writes the starter content of the game into a folder.
#include <cstdio>
#include <exception>

#include "qon/content/generator.h"

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: qon-content <game folder>\n");
        return 2;
    }
    try {
        const qon::content::GameFolderContent content = qon::content::GenerateGameFolder(argv[1]);
        for (const std::string& note : content.notes) {
            std::fprintf(stderr, "qon-content: note: %s\n", note.c_str());
        }
        std::printf("qon-content: staged %s (%zu graphic sets, %zu music sets)\n", argv[1],
                    content.graphicSets.size(), content.musicSets.size());
    } catch (const std::exception& e) {
        std::fprintf(stderr, "qon-content: %s\n", e.what());
        return 1;
    }
    return 0;
}
