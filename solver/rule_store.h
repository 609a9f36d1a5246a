// Yes-or-no questions and the rules between them, as the learning search keeps them. A rule is a set of
// literals (a question answered yes, or answered no) of which at least one must hold. The search answers
// questions one at a time, each answer opening a level; every rule that then leaves one literal open
// answers it. When a rule breaks, the answers that led to it are traced back to the single one of the
// latest level they all pass through; the rule learned from that sends the search back to the earliest
// level at which it answers something. Runs end now and then (restarts) and the least useful learned rules
// are dropped; the store has a fixed size.
//
// Variable v is literal 2v (yes) and 2v + 1 (no).
#pragma once
#include <cstdint>

constexpr int RULE_MAX_VARIABLES = 108;  // literals fit in a byte

struct RuleStore {
    int variableCount;
    int8_t value[RULE_MAX_VARIABLES];     // -1 open, 0 no, 1 yes
    int level[RULE_MAX_VARIABLES];        // level of the answer
    double activity[RULE_MAX_VARIABLES];  // how much the variable took part in recent dead ends
    int decisionLevel;
    uint64_t deadEnds;
};

extern RuleStore rules;

// 1 when the literal holds, 0 when it does not, -1 while its variable is open.
inline int literalValue(int literal) {
    const int v = rules.value[literal >> 1];
    return v < 0 ? -1 : v ^ (literal & 1);
}
inline int literalLevel(int literal) { return rules.level[literal >> 1]; }

// Starts afresh with the variables open and no rules.
void resetRules(int variableCount);
// A rule of the problem itself (two literals at least), before the first answer.
void addRule(const uint8_t* literals, int size);
// Opens a level on which the literal holds.
void decide(int literal);
// Draws every conclusion of the rules; false when a rule breaks.
bool propagateRules();
// After propagateRules failed, or with a rule the search found broken itself (literals all false now):
// learns from it and goes back. False when the rules contradict one another: nothing can satisfy them.
bool learnFromBrokenRule();
bool learnRule(uint8_t* literals, int size);
// At the end of a run: back to level 0 and fewer learned rules. False when the rules contradict one another.
bool restartWhenDue();
