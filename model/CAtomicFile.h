#pragma once

#include <functional>
#include <string>
#include <string_view>

// Replaces a file's whole content so that a reader, or a crash at any moment, sees either the
// old file or the new one: the bytes go to a temporary sibling that is flushed to disk and then
// renamed over the file. If any write fails, the temporary is removed and the file is untouched.
class CAtomicFile {
public:
    using Append = std::function<bool(std::string_view)>;

    // The file a path finally names: symbolic links are followed, even to a file not made
    // yet, so that a write through a link replaces the file it names and the link stays.
    static std::string finalPath(const std::string& path);
    static bool write(const std::string& path, std::string_view bytes);
    // The same for content made a piece at a time: produce hands each piece to append and
    // returns false when it could not make the content; append returns false when a write
    // failed. Either way the file is untouched.
    static bool write(const std::string& path, const std::function<bool(const Append&)>& produce);
    // The same at the name itself: a symbolic link planted there is replaced, never followed,
    // so that a file at a name others may write to cannot be turned onto another file.
    static bool writeHere(const std::string& path, std::string_view bytes);
    // Makes a new file of the content, whole or not at all; fails, with EEXIST as the reason,
    // when the name is taken, even by a writer racing for it.
    static bool writeNew(const std::string& path,
                         const std::function<bool(const Append&)>& produce);
    // Whether the last write on this thread failed because the name was taken.
    static bool lastWriteFoundName();
    // Why the last write failed on this thread, as the system says it.
    static std::string lastError();
    // The whole file (see CFileBytes); false with the reason in `error` when it cannot be had.
    static bool readAll(const std::string& path, std::string& bytes, std::string* error = nullptr);
    // Removes temporaries that a save killed half way left beside the file. Only the holder
    // of the file may call it, so that no save is under way.
    static void removeLeftovers(const std::string& path);

private:
    enum class Finish { Replace, New };
    static bool writeAt(const std::string& path, bool linkIsTheFile,
                        const std::function<bool(const Append&)>& produce,
                        Finish finish = Finish::Replace);
};
