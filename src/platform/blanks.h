// The characters that separate the words and fields of the engine's text.
#pragma once

// A space or a tab: what separates the fields of one line.
constexpr bool IsBlank(int c) { return c == ' ' || c == '\t'; }

// A blank or a line or page end: white space as the C library counts it.
constexpr bool IsWhiteSpace(int c) { return IsBlank(c) || c == '\n' || c == '\r' || c == '\v' || c == '\f'; }
