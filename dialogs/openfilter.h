#pragma once
// The open dialog's filter text in the toolkit's form.

#include <QStringList>
#include <string>

// Turns "name|patterns|name|patterns|..." into the toolkit's name filters
// "name (pattern pattern ...)", in the same order. Patterns are separated by ";"; blanks
// around a pattern and empty patterns (a trailing ";") are dropped. A pair without any
// pattern, and a last name that has no pattern part, are left out. Names are shown as
// decoded text (UTF-8, else Shift-JIS). A pattern cannot hold a blank: the toolkit
// separates patterns by blanks.
QStringList NameFilters(const std::string &filter);
