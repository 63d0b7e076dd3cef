// Where the engine finds its opening book. GUIs start engines in folders of
// their own choosing, so besides the working folder the engine looks where the
// book was installed with it, and in a folder the user names.
#pragma once

#include <string>
#include <vector>

#include "book/opening_book.h"

// The book installed with the program, from the executable's folder: beside
// bin/ under the install prefix, and beside the executable in its build tree.
inline constexpr const char* INSTALLED_BOOK_FOLDER = "../share/tavrel";
inline constexpr const char* BUILT_BOOK_FOLDER = "share/tavrel";

// The folders to look in, in this order: the working folder (""), the
// installed and the built book's folders when the executable's folder is
// known, then namedFolder when it is not empty.
std::vector<std::string> BookFolders(const std::string& executableFolder, const std::string& namedFolder);

// Opens book from the first folder whose two sides both open. When none does,
// the book is left as the first folder gives it, with that folder's message.
bool OpenBookFromFolders(OpeningBook& book, const std::vector<std::string>& folders);

// Opens EngineBook from the first folder that holds a book:
// BookFolders(ExecutableFolder(), namedFolder). When it answers false,
// EngineBook.Message() says what is missing in the working folder.
bool OpenEngineBook(const std::string& namedFolder);
