#include "solver/rule_store.h"

#include <algorithm>
#include <cstring>

#include "solver/luby.h"

RuleStore rules;

namespace {

constexpr int RULE_CAPACITY = 1 << 17;
constexpr uint32_t LITERAL_CAPACITY = 1u << 22;
constexpr int NO_RULE = -1;
constexpr int RESTART_UNIT = 32;  // dead ends of the shortest run
constexpr int FIRST_KEPT = 2000;  // learned rules kept at the first clean-up
constexpr double ACTIVITY_DECAY = 0.95;
constexpr float RULE_DECAY = 0.999f;

inline int variableOf(int literal) { return literal >> 1; }

int reason[RULE_MAX_VARIABLES];  // the rule that answered a variable; NO_RULE for a decision
uint8_t seen[RULE_MAX_VARIABLES];
uint8_t trail[RULE_MAX_VARIABLES];  // the literals that hold, in the order they were answered
int trailCount, propagated;
int levelStart[RULE_MAX_VARIABLES + 1];  // trail position where each level starts

struct Rule {
    uint32_t start;  // first literal in ruleLiterals
    uint16_t size;
    uint8_t learned;
    uint8_t levels;  // distinct levels among its literals when learned: the fewer, the more useful
    float activity;
    int next[2];  // the next rule watching the same literal as its first / second literal
};
Rule store[RULE_CAPACITY];
int ruleCount, learnedCount;
uint8_t ruleLiterals[LITERAL_CAPACITY];
uint32_t literalCount;
int watchHead[2 * RULE_MAX_VARIABLES];
double activityIncrement;
float ruleIncrement;
int broken;  // the rule propagateRules found broken
uint64_t restartAt, restarts;
int kept;  // learned rules kept at the next clean-up

void watch(int r, int slot) {
    const int literal = ruleLiterals[store[r].start + slot];
    store[r].next[slot] = watchHead[literal];
    watchHead[literal] = r;
}

// Adds a rule of two literals at least and watches its first two; NO_RULE when the store is full.
int add(const uint8_t* literals, int size, bool learned) {
    if (ruleCount == RULE_CAPACITY || literalCount + (uint32_t)size > LITERAL_CAPACITY) return NO_RULE;
    const int r = ruleCount++;
    Rule& rule = store[r];
    rule.start = literalCount;
    rule.size = (uint16_t)size;
    rule.learned = learned;
    rule.levels = 0;
    rule.activity = 0;
    memcpy(ruleLiterals + literalCount, literals, (size_t)size);
    literalCount += (uint32_t)size;
    learnedCount += learned;
    watch(r, 0);
    watch(r, 1);
    return r;
}

void assign(int literal, int why) {
    const int v = variableOf(literal);
    rules.value[v] = (int8_t)(!(literal & 1));
    rules.level[v] = rules.decisionLevel;
    reason[v] = why;
    trail[trailCount++] = (uint8_t)literal;
}

void backtrackTo(int target) {
    if (rules.decisionLevel <= target) return;
    for (int i = trailCount - 1; i >= levelStart[target + 1]; --i) rules.value[variableOf(trail[i])] = -1;
    trailCount = propagated = levelStart[target + 1];
    rules.decisionLevel = target;
}

void bump(int v) {
    rules.activity[v] += activityIncrement;
    if (rules.activity[v] > 1e100) {
        for (int w = 0; w < rules.variableCount; ++w) rules.activity[w] *= 1e-100;
        activityIncrement *= 1e-100;
    }
}

int distinctLevels(const uint8_t* literals, int size) {
    static uint32_t stamp[RULE_MAX_VARIABLES + 1];
    static uint32_t now;
    ++now;
    int distinct = 0;
    for (int i = 0; i < size; ++i) {
        const int l = literalLevel(literals[i]);
        if (stamp[l] != now) {
            stamp[l] = now;
            ++distinct;
        }
    }
    return distinct;
}

// At level 0 after propagation: drops the rules that hold for good and the literals that are false for
// good, keeps the `keep` best learned rules (fewest levels, then most used) and, unless the store is full,
// those of two levels at most, and watches anew.
void cleanUp(int keep, bool full) {
    static int ranked[RULE_CAPACITY];
    static uint8_t dropped[RULE_CAPACITY];
    int learnedSeen = 0;
    for (int r = 0; r < ruleCount; ++r)
        if (store[r].learned) ranked[learnedSeen++] = r;
    memset(dropped, 0, sizeof dropped);
    if (learnedSeen > keep) {
        std::sort(ranked, ranked + learnedSeen, [](int a, int b) {
            if (store[a].levels != store[b].levels) return store[a].levels < store[b].levels;
            return store[a].activity > store[b].activity;
        });
        for (int i = keep; i < learnedSeen; ++i)
            if (full || store[ranked[i]].levels > 2) dropped[ranked[i]] = 1;
    }
    uint8_t scratch[RULE_MAX_VARIABLES + 1];
    uint32_t at = 0;
    int count = 0;
    learnedCount = 0;
    for (int i = 0; i < 2 * rules.variableCount; ++i) watchHead[i] = NO_RULE;
    for (int r = 0; r < ruleCount; ++r) {
        if (dropped[r]) continue;
        Rule rule = store[r];
        const uint8_t* literals = ruleLiterals + rule.start;
        bool holds = false;
        int size = 0;
        for (int i = 0; i < rule.size; ++i) {
            const int v = literalValue(literals[i]);
            holds |= v == 1;
            if (v != 0) scratch[size++] = literals[i];
        }
        if (holds) continue;
        if (size < 2) {  // cannot be after propagation at level 0; kept whole to be safe
            size = rule.size;
            memcpy(scratch, literals, (size_t)size);
        }
        memcpy(ruleLiterals + at, scratch, (size_t)size);
        rule.start = at;
        rule.size = (uint16_t)size;
        at += (uint32_t)size;
        store[count] = rule;
        learnedCount += rule.learned;
        watch(count, 0);
        watch(count, 1);
        ++count;
    }
    ruleCount = count;
    literalCount = at;
    for (int i = 0; i < trailCount; ++i) reason[variableOf(trail[i])] = NO_RULE;  // never read again
}

// From a broken rule with a literal of the current level: the first unique implication point. Writes
// the learned rule, its asserting literal first and a literal of the level to go back to second.
int analyse(int r, uint8_t* learned) {
    int size = 1, pending = 0, index = trailCount - 1, literal = -1;
    do {
        Rule& rule = store[r];
        const uint8_t* literals = ruleLiterals + rule.start;
        if (rule.learned) rule.activity += ruleIncrement;
        for (int i = literal < 0 ? 0 : 1; i < rule.size; ++i) {
            const int v = variableOf(literals[i]);
            if (seen[v] || rules.level[v] == 0) continue;
            seen[v] = 1;
            bump(v);
            if (rules.level[v] == rules.decisionLevel)
                ++pending;
            else
                learned[size++] = literals[i];
        }
        while (!seen[variableOf(trail[index])]) --index;
        literal = trail[index--];
        r = reason[variableOf(literal)];
        seen[variableOf(literal)] = 0;
        --pending;
    } while (pending > 0);
    learned[0] = (uint8_t)(literal ^ 1);
    // A literal whose answer followed from the others' (its reason holds only literals of the rule or of
    // level 0) adds nothing.
    uint8_t all[RULE_MAX_VARIABLES + 1];
    const int allSize = size;
    memcpy(all, learned, (size_t)size);
    int kept = 1;
    for (int i = 1; i < allSize; ++i) {
        const int r = reason[variableOf(all[i])];
        bool implied = r != NO_RULE;
        for (int k = 1; implied && k < store[r].size; ++k) {
            const int v = variableOf(ruleLiterals[store[r].start + k]);
            implied = seen[v] || rules.level[v] == 0;
        }
        if (!implied) learned[kept++] = all[i];
    }
    size = kept;
    for (int i = 1; i < allSize; ++i) seen[variableOf(all[i])] = 0;
    for (int i = 2; i < size; ++i)
        if (literalLevel(learned[i]) > literalLevel(learned[1])) std::swap(learned[1], learned[i]);
    activityIncrement /= ACTIVITY_DECAY;
    ruleIncrement /= RULE_DECAY;
    return size;
}

// Learns from rule r, broken at the current level (above 0).
void learnFrom(int r) {
    uint8_t learned[RULE_MAX_VARIABLES + 1];
    const int size = analyse(r, learned);
    if (size == 1) {
        backtrackTo(0);
        assign(learned[0], NO_RULE);
        return;
    }
    backtrackTo(literalLevel(learned[1]));
    const int added = add(learned, size, true);
    if (added == NO_RULE) {  // a full store: start again with half the rules kept
        backtrackTo(0);
        cleanUp(kept / 2, true);
        return;
    }
    store[added].levels = (uint8_t)std::min(255, distinctLevels(learned, size));
    assign(learned[0], added);
}

}  // namespace

void resetRules(int variableCount) {
    rules.variableCount = variableCount;
    rules.decisionLevel = 0;
    rules.deadEnds = 0;
    for (int v = 0; v < variableCount; ++v) {
        rules.value[v] = -1;
        rules.activity[v] = 0;
        seen[v] = 0;
        reason[v] = NO_RULE;
    }
    for (int i = 0; i < 2 * variableCount; ++i) watchHead[i] = NO_RULE;
    ruleCount = learnedCount = 0;
    literalCount = 0;
    trailCount = propagated = 0;
    levelStart[0] = 0;
    activityIncrement = 1;
    ruleIncrement = 1;
    restarts = 1;
    restartAt = RESTART_UNIT;
    kept = FIRST_KEPT;
}

void addRule(const uint8_t* literals, int size) { add(literals, size, false); }

void decide(int literal) {
    levelStart[++rules.decisionLevel] = trailCount;
    assign(literal, NO_RULE);
}

bool propagateRules() {
    while (propagated < trailCount) {
        const int falseLiteral = trail[propagated++] ^ 1;
        int* link = &watchHead[falseLiteral];
        int r = *link;
        while (r != NO_RULE) {
            Rule& rule = store[r];
            uint8_t* literals = ruleLiterals + rule.start;
            if (literals[0] == falseLiteral) {
                std::swap(literals[0], literals[1]);
                std::swap(rule.next[0], rule.next[1]);
            }
            const int following = rule.next[1];
            if (literalValue(literals[0]) == 1) {
                link = &rule.next[1];
                r = following;
                continue;
            }
            int k = 2;
            while (k < rule.size && literalValue(literals[k]) == 0) ++k;
            if (k < rule.size) {  // another literal to watch
                std::swap(literals[1], literals[k]);
                *link = following;
                watch(r, 1);
                r = following;
                continue;
            }
            if (literalValue(literals[0]) == 0) {
                broken = r;
                return false;
            }
            assign(literals[0], r);
            link = &rule.next[1];
            r = following;
        }
    }
    return true;
}

bool learnFromBrokenRule() {
    ++rules.deadEnds;
    if (rules.decisionLevel == 0) return false;
    learnFrom(broken);
    return true;
}

bool learnRule(uint8_t* literals, int size) {
    ++rules.deadEnds;
    int latest = 0;
    for (int i = 0; i < size; ++i) latest = std::max(latest, literalLevel(literals[i]));
    if (latest == 0) return false;
    backtrackTo(latest);
    if (size == 1) {
        backtrackTo(0);
        assign(literals[0], NO_RULE);
        return true;
    }
    // A literal of the latest level first, the latest of the others second.
    for (int i = 1; i < size; ++i)
        if (literalLevel(literals[i]) == latest) std::swap(literals[0], literals[i]);
    for (int i = 2; i < size; ++i)
        if (literalLevel(literals[i]) > literalLevel(literals[1])) std::swap(literals[1], literals[i]);
    const int added = add(literals, size, true);
    if (added == NO_RULE) {
        backtrackTo(0);
        cleanUp(kept / 2, true);
        return true;
    }
    store[added].levels = (uint8_t)std::min(255, distinctLevels(literals, size));
    if (literalLevel(literals[1]) < latest) {  // the only literal of its level: it answers at once
        backtrackTo(literalLevel(literals[1]));
        assign(literals[0], added);
        return true;
    }
    learnFrom(added);
    return true;
}

bool restartWhenDue() {
    if (rules.deadEnds < restartAt) return true;
    restartAt = rules.deadEnds + RESTART_UNIT * luby(++restarts);
    backtrackTo(0);
    if (!propagateRules()) return false;
    if (learnedCount > kept) {
        cleanUp(kept, false);
        kept += kept / 10;
    }
    return true;
}
