// The failure that ends a conversion: raised by the PGN reader and the game-file
// reader with one of their fixed texts ("MOVE NOT LEGAL 1", "WRONG RESULT", ...),
// caught and reported by the conversion commands.
#pragma once

#include <stdexcept>

class ConversionError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};
