#pragma once

#include <string>

// What the about page adds to its template: the animation clip, a file of
// fixed name in the program's own folder, whatever the program file is
// called. Opened once, when the page is first shown; a missing clip is not
// reported.
class CAboutLogic {
public:
    static constexpr const char* CLIP_FILE_NAME = "Vantrel92.avi";

    static std::string GetClipPath(const std::string& programFolder);
};
