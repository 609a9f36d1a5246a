// The search over pairings that learns from its dead ends, for a regular board (see relaxed_play.h) whose
// groups have two or four tiles left.
//
// Each group of four leaves in one of three pairings; "group g takes pairing p" is a yes-or-no question,
// three for each group, exactly one of them yes. The search answers them one at a time and after every
// answer runs the relaxed play with the pairings still possible. When the relaxed play leaves tiles on
// the board, it has found a set of tiles that block one another for good under the pairings of their
// groups as far as they are decided; shrunk to the few groups that matter, that becomes a rule ("these
// groups cannot take these pairings together") that the search keeps, draws conclusions from and never
// breaks again. A rule that follows from the current answers sends the search back to the earliest answer
// it depends on. When every group's pairing is fixed and the relaxed play clears the board, the position
// is won; when the rules alone contradict one another, it is lost.
#pragma once
#include <cstdint>

#include "engine/board.h"

enum LearningOutcome : uint8_t { LearningWon, LearningLost, LearningStopped };

// Searches the position held by solver/position.h (set and regular, groups of two or four tiles).
// `stop` is called once a node (a decision or a dead end) and ends the search when it returns true.
// On LearningWon, order holds the pairs to remove, two tile indices each, and *orderCount the tiles.
LearningOutcome searchWithLearning(bool (*stop)(), uint8_t* order, int* orderCount);
