#include "driver/book_commands.h"

#include <cstdio>
#include <cstring>
#include <string>

#include "board/position.h"
#include "board/position_text.h"
#include "book/book_builder.h"
#include "book/byte_order.h"
#include "book/opening_book.h"
#include "platform/console_input.h"

void BookShowCommand(Engine& engine, const char*) {
  Position& pos = engine.game;
  bool found = EngineBook.BookContains(static_cast<int>(pos.SideToMove), KeyLow(pos.HashKey), KeyHigh(pos.HashKey));
  std::printf(found ? "YES\n" : "NO\n");
}

void ShowDatabaseRecord(Position& pos, PositionDatabase& databases, bool linearScan) {
  int side = static_cast<int>(pos.SideToMove);
  std::optional<PositionRecord> record =
      linearScan ? databases.FindRecordLinear(side, KeyLow(pos.HashKey), KeyHigh(pos.HashKey))
                 : databases.FindRecord(side, KeyLow(pos.HashKey), KeyHigh(pos.HashKey));
  if (!record) {
    std::printf("record not found.\n");
    return;
  }
  double w = record->whiteWins, b = record->blackWins, d = record->draws;
  std::printf("w: %.0f, b: %.0f, d: %.0f, score: %f\n", w, b, d, WhiteScore(w, b, d));
}

void DatabaseShowCommand(Engine& engine, const char* word) {
  Position& pos = engine.game;
  PositionDatabase databases;
  if (!databases.OpenDatabases(WHITE_DATABASE_NAME, BLACK_DATABASE_NAME)) {
    std::printf("%s\n", databases.Message().Text());
    return;
  }
  PrintBoard(pos.Board);
  ShowDatabaseRecord(pos, databases, std::strcmp(word, "dbshowlin") == 0);
}

void BookCreateCommand(Engine&, const char*) {
  PositionDatabase databases;
  if (!databases.OpenDatabases(WHITE_DATABASE_NAME, BLACK_DATABASE_NAME)) {
    std::printf("%s\n", databases.Message().Text());
    return;
  }
  CreateBooks(databases);
  std::printf("created.\n");
}

void DatabaseCreateCommand(Engine&, const char*) {
  char positionFile[COMMAND_BUFFER_SIZE];
  char prefix[COMMAND_BUFFER_SIZE];
  bool named = ReadFileName(positionFile);
  if (!ReadFileName(prefix) || !named) return;
  std::string whiteName = std::string(prefix) + "_white.db";
  std::string blackName = std::string(prefix) + "_black.db";
  PositionDatabase databases;
  if (databases.CreateDatabases(positionFile, whiteName.c_str(), blackName.c_str())) {
    std::printf("created.\n");
  } else {
    std::printf("%s\n", databases.Message().Text());
  }
}
