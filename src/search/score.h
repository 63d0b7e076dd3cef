// The scale of search scores: signed 16-bit centipawns from the side to move's
// point of view, with the values that stand for kings, illegal moves and mates.
#pragma once

#include "board/types.h"

// The side to move can capture the enemy king: the move before was illegal.
constexpr i16 SCORE_KING_CAPTURE = 8190;
// An illegal move, and the best score of a node before any move was tried.
constexpr i16 SCORE_ILLEGAL = -8190;
// The side to move is mated at the root; mated at ply p scores -MATE_SCORE + p.
constexpr i16 MATE_SCORE = 8100;
// Scores beyond this (either sign) announce a forced mate.
constexpr i16 MATE_SCORE_LIMIT = 8050;
constexpr i16 DRAW_SCORE = 0;
// The window of a search that expects nothing of its score.
constexpr i16 FULL_WINDOW = MATE_SCORE;

constexpr i16 MatedAtPly(int ply) { return static_cast<i16>(-MATE_SCORE + ply); }

// Scores are negated from one ply to the next; every score stays far inside
// 16 bits, so the negation cannot overflow.
constexpr i16 Negate(int score) { return static_cast<i16>(-score); }
