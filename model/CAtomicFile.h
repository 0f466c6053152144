#pragma once

#include <string>
#include <string_view>

// Replaces a file's whole content so that a reader, or a crash at any moment, sees either the
// old file or the new one: the bytes go to a temporary sibling that is flushed to disk and then
// renamed over the file. If any write fails, the temporary is removed and the file is untouched.
class CAtomicFile {
public:
    static bool write(const std::string& path, std::string_view bytes);
    static bool readAll(const std::string& path, std::string& bytes);
    // Removes temporaries that a save killed half way left beside the file. Only the holder
    // of the file may call it, so that no save is under way.
    static void removeLeftovers(const std::string& path);
};
