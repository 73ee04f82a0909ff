#pragma once
// Building archiver command lines item by item.
//
// Every addition starts with one blank, so a command text followed directly by Text()
// gives "command switch switch ...". Paths are double-quoted and have every backslash
// written as PathDelimiter(); a folder is written with a trailing backslash (converted
// too), which the archiver libraries read as the folder mark.

#include "archiveroptions.h"

#include <string>

namespace archives {

// path with every backslash replaced by delimiter. The search for backslashes follows the
// process code page, or Shift-JIS for a path that is no valid UTF-8, so the second byte
// of a double-byte character is never replaced.
std::string ConvertPathDelimiter(const std::string &path, char delimiter);

// True when the last character of text (not merely its last byte) is a backslash.
bool EndsWithBackslash(const std::string &text);

class TCmdOpt
{
public:
    TCmdOpt() = default;
    explicit TCmdOpt(char pathDelimiter)
        : pathDelimiter_(pathDelimiter)
    {
    }

    const std::string &Text() const { return text_; }
    char PathDelimiter() const { return pathDelimiter_; }
    void SetPathDelimiter(char delimiter) { pathDelimiter_ = delimiter; }

    // Appends a blank and item; an empty item leaves a lone blank.
    void Add(const std::string &item);
    // Unless number is -1 (unset): "-" + name + number in decimal.
    void AddNumber(const std::string &name, int number);
    // Unless value is unset: "\"" + value + "\"" when name is empty, else
    // "\"-" + name + value + "\"". An empty value is added. Throws EArchiver when value
    // holds a double quote, which no item can carry.
    void AddString(const std::string &name, const std::string &value);
    // AddString with the path's backslashes written as PathDelimiter().
    void AddPath(const std::string &name, const std::string &path);
    // Unless folder is empty or unset: AddPath of folder with a trailing backslash.
    void AddDir(const std::string &name, const std::string &folder);
    // AddPath for every item, in order.
    void AddList(const std::string &name, const TStringList &list);

private:
    std::string text_;
    char pathDelimiter_ = '\\';
};

} // namespace archives
