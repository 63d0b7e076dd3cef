#include "tools/game_record.h"

#include <cstring>

namespace {

struct ResultForm {
  char letter;
  const char* text;
  int code;
};

constexpr ResultForm RESULT_FORMS[] = {
    {'W', "1-0", RESULT_WHITE_WON},
    {'B', "0-1", RESULT_BLACK_WON},
    {'D', "1/2-1/2", RESULT_DRAW},
    {'*', "*", RESULT_UNFINISHED},
};

}  // namespace

void SetGameResult(GameRecord& game, char letter) {
  for (const ResultForm& form : RESULT_FORMS) {
    if (form.letter == letter) {
      game.resultLetter = letter;
      std::strcpy(game.resultText, form.text);
      return;
    }
  }
  game.resultLetter = '?';
  game.resultText[0] = '\0';
}

int ResultCodeOfText(const char* text) {
  for (const ResultForm& form : RESULT_FORMS) {
    if (std::strcmp(form.text, text) == 0) return form.code;
  }
  return -1;
}

char ResultLetterOfCode(int resultCode) {
  for (const ResultForm& form : RESULT_FORMS) {
    if (form.code == resultCode) return form.letter;
  }
  return '?';
}
