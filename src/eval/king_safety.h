// King safety: the pawn shelter in front of a castled king, the danger index
// of open files around it, and the penalty for enemy pieces bearing on it.
#pragma once

#include "board/position.h"

// Shelter and danger count only while this much material is on the board.
constexpr int SHELTER_MATERIAL = 36;

constexpr int ATTACK_WEIGHT_SIZE = 128;
constexpr int DANGER_INDEX_SIZE = 16;

// By the weight of enemy pieces near the king (tropism and attacks on the
// squares around it); not monotonic at 48.
extern const u16 KingAttackWeight[ATTACK_WEIGHT_SIZE];
// By the danger index: open files around the king multiply the attack weight.
extern const u16 KingShelterFactor[DANGER_INDEX_SIZE];

// Bonus of colour C for pawns in front of its king on either wing; positive
// for C. Applies only with SHELTER_MATERIAL or more on the board.
template <int C>
int KingShelter(Position& pos);

// Danger index 0..15 of colour C's king: files around it without pawns of
// either colour, and one more when the enemy has a queen.
template <int C>
int DangerIndex(Position& pos);

// What colour C loses for the enemy pieces bearing on its king (positive
// number); nothing unless the enemy has more than 13 units of pieces. An
// attack weight past the end of KingAttackWeight reads its last entry.
template <int C>
int KingDangerPenalty(Position& pos, int dangerIndex, int attackWeight);
