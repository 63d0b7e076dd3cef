#include "book/book_folders.h"

#include "platform/executable_folder.h"

std::vector<std::string> BookFolders(const std::string& executableFolder, const std::string& namedFolder) {
  std::vector<std::string> folders = {""};
  if (!executableFolder.empty()) {
    for (const char* beside : {INSTALLED_BOOK_FOLDER, BUILT_BOOK_FOLDER}) {
      folders.push_back(FileInFolder(executableFolder, beside));
    }
  }
  if (!namedFolder.empty()) folders.push_back(namedFolder);
  return folders;
}

bool OpenBookFromFolders(OpeningBook& book, const std::vector<std::string>& folders) {
  for (const std::string& folder : folders) {
    if (book.OpenBookIn(folder)) return true;
  }
  // None holds a whole book: as much of the first as opens, as before there were others.
  if (!folders.empty()) book.OpenBookIn(folders.front());
  return false;
}

bool OpenEngineBook(const std::string& namedFolder) {
  return OpenBookFromFolders(EngineBook, BookFolders(ExecutableFolder(), namedFolder));
}
