#include "solver/learning.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "solver/position.h"
#include "solver/relaxed_play.h"

namespace {

constexpr int MAX_GROUPS = TILE_COUNT / 2;
constexpr int MAX_VARIABLES = 3 * (TILE_COUNT / 4);  // 108: literals fit in a byte
constexpr int CLAUSE_CAPACITY = 1 << 17;
constexpr uint32_t LITERAL_CAPACITY = 1u << 22;
constexpr int NO_CLAUSE = -1;
constexpr int RESTART_UNIT = 32;   // conflicts of the shortest run between restarts
constexpr int FIRST_KEPT = 2000;   // learned rules kept before the first clean-up
constexpr double ACTIVITY_DECAY = 0.95;

// ---------------------------------------------------------------------------------------------------------
// The board as the relaxed play reads it.

int tileCount;
uint8_t boardTiles[TILE_COUNT];
uint8_t groupOf[TILE_COUNT], placeOf[TILE_COUNT];
uint8_t dependantCount[TILE_COUNT];
uint8_t dependant[TILE_COUNT][16];
uint8_t dependantRelation[TILE_COUNT][16];  // 0: lies on it, 1: its left neighbour, 2: its right neighbour

int groupCount;
uint8_t groupSize[MAX_GROUPS];
uint8_t groupTile[MAX_GROUPS][4];
int firstVariable[MAX_GROUPS];  // groups of four: the variable of pairing 1 (then 2, 3); else -1

// The relaxed play's state.
uint8_t inSet[TILE_COUNT];  // on the board when the play starts
uint8_t gone[TILE_COUNT];
uint8_t blockers[TILE_COUNT][3];
uint16_t leaveTime[TILE_COUNT];
uint8_t leaveOrder[TILE_COUNT];
int leaveCount;
uint8_t playStack[4 * TILE_COUNT * 16];

uint8_t edgeOf[TILE_COUNT];
uint8_t boardBlockers[TILE_COUNT][3];  // with every tile of the position on the board
bool startsFromBoard;                  // inSet holds every tile of the position

inline bool relaxedFree(int t) {
    const uint8_t* b = blockers[t];
    return b[0] == 0 && (edgeOf[t] || b[1] == 0 || b[2] == 0);
}

void startFromBoard() {
    for (int i = 0; i < tileCount; ++i) inSet[boardTiles[i]] = 1;
    startsFromBoard = true;
}

// Plays from the tiles in inSet with the pairings allowed by dom (bits 1-3 a group of four); returns how
// many tiles it leaves on the board (gone[t] == 0 for those of inSet).
int play(const uint8_t* dom) {
    int top = 0;
    int left = 0;
    if (startsFromBoard) {
        memset(gone, 0, sizeof gone);
        memcpy(blockers, boardBlockers, sizeof blockers);
        left = tileCount;
        for (int i = 0; i < tileCount; ++i)
            if (relaxedFree(boardTiles[i])) playStack[top++] = boardTiles[i];
    } else {
        for (int i = 0; i < tileCount; ++i) {
            const int t = boardTiles[i];
            gone[t] = !inSet[t];
            left += inSet[t];
        }
        for (int i = 0; i < tileCount; ++i) {
            const int t = boardTiles[i];
            if (!inSet[t]) continue;
            const PositionTile& tile = position.tiles[t];
            uint8_t* b = blockers[t];
            b[0] = b[1] = b[2] = 0;
            for (int k = 0; k < tile.aboveCount; ++k) b[0] += !gone[tile.above[k]];
            for (int k = 0; k < tile.leftCount; ++k) b[1] += !gone[tile.left[k]];
            for (int k = 0; k < tile.rightCount; ++k) b[2] += !gone[tile.right[k]];
            if (relaxedFree(t)) playStack[top++] = (uint8_t)t;
        }
    }
    leaveCount = 0;
    while (top > 0) {
        const int t = playStack[--top];
        if (gone[t]) continue;
        const int g = groupOf[t], k = placeOf[t];
        int mate = -1;
        if (groupSize[g] == 2) {
            const int q = groupTile[g][1 - k];
            if (gone[q] || relaxedFree(q)) mate = q;
        } else {
            for (int p = 1; p <= 3 && mate < 0; ++p) {
                if (!(dom[g] & (1 << p))) continue;
                const int q = groupTile[g][pairingPartner(k, p)];
                if (gone[q] || relaxedFree(q)) mate = q;
            }
        }
        if (mate < 0) continue;
        for (int pass = 0; pass < 2; ++pass) {
            const int x = pass == 0 ? t : mate;
            if (gone[x]) continue;
            gone[x] = 1;
            leaveTime[x] = (uint16_t)leaveCount;
            leaveOrder[leaveCount++] = (uint8_t)x;
            --left;
            for (int i = 0; i < dependantCount[x]; ++i) {
                const int d = dependant[x][i];
                if (gone[d]) continue;
                const bool wasFree = relaxedFree(d);
                --blockers[d][dependantRelation[x][i]];
                if (!wasFree && relaxedFree(d)) playStack[top++] = (uint8_t)d;
            }
            const int h = groupOf[x];
            for (int j = 0; j < groupSize[h]; ++j) {
                const int y = groupTile[h][j];
                if (!gone[y] && relaxedFree(y)) playStack[top++] = (uint8_t)y;
            }
        }
    }
    return left;
}

// ---------------------------------------------------------------------------------------------------------
// Variables, literals, rules.
//
// Variable v = firstVariable[g] + p - 1 says "group g takes pairing p". Literal 2v is v, 2v + 1 its
// negation.

int variableCount;
int8_t value[MAX_VARIABLES];  // -1 open, 0 no, 1 yes
int level[MAX_VARIABLES];
int reason[MAX_VARIABLES];
uint8_t seen[MAX_VARIABLES];
uint8_t trail[MAX_VARIABLES];
int trailCount, propagated;
int levelStart[MAX_VARIABLES + 1];  // trail position where each decision level starts
int decisionLevel;

inline int variableOf(int literal) { return literal >> 1; }
uint8_t variableGroup[MAX_VARIABLES];
// 1 true, 0 false, -1 open.
inline int literalValue(int literal) {
    const int v = value[literal >> 1];
    return v < 0 ? -1 : v ^ (literal & 1);
}

struct Clause {
    uint32_t start;
    uint16_t size;
    uint8_t learned;
    uint8_t lbd;
    float activity;
    int next[2];  // the next rule watching the same literal as lits[0] / lits[1]
};
Clause clauses[CLAUSE_CAPACITY];
int clauseCount, learnedCount;
uint8_t literals[LITERAL_CAPACITY];
uint32_t literalCount;
int watchHead[2 * MAX_VARIABLES];
float clauseIncrement;

double groupActivity[MAX_GROUPS];
double activityIncrement;
uint8_t phase[MAX_GROUPS];  // preferred pairing of each group of four

void watch(int c, int slot) {
    const int literal = literals[clauses[c].start + slot];
    clauses[c].next[slot] = watchHead[literal];
    watchHead[literal] = c;
}

// Adds a rule of at least two literals and watches its first two.
int addClause(const uint8_t* lits, int size, bool learned) {
    if (clauseCount == CLAUSE_CAPACITY || literalCount + (uint32_t)size > LITERAL_CAPACITY) return NO_CLAUSE;
    const int c = clauseCount++;
    Clause& clause = clauses[c];
    clause.start = literalCount;
    clause.size = (uint16_t)size;
    clause.learned = learned;
    clause.lbd = 0;
    clause.activity = 0;
    memcpy(literals + literalCount, lits, (size_t)size);
    literalCount += (uint32_t)size;
    learnedCount += learned;
    watch(c, 0);
    watch(c, 1);
    return c;
}

void assign(int literal, int why) {
    const int v = variableOf(literal);
    value[v] = (int8_t)(!(literal & 1));
    level[v] = decisionLevel;
    reason[v] = why;
    trail[trailCount++] = (uint8_t)literal;
}

void backtrackTo(int target) {
    if (decisionLevel <= target) return;
    for (int i = trailCount - 1; i >= levelStart[target + 1]; --i) {
        const int v = variableOf(trail[i]);
        if (value[v] == 1) phase[variableGroup[v]] = (uint8_t)(v - firstVariable[variableGroup[v]] + 1);
        value[v] = -1;
    }
    trailCount = propagated = levelStart[target + 1];
    decisionLevel = target;
}

// Unit propagation over the watched literals; returns the rule found broken, or NO_CLAUSE.
int propagate() {
    while (propagated < trailCount) {
        const int falseLiteral = trail[propagated++] ^ 1;
        int* link = &watchHead[falseLiteral];
        int c = *link;
        while (c != NO_CLAUSE) {
            Clause& clause = clauses[c];
            uint8_t* lits = literals + clause.start;
            if (lits[0] == falseLiteral) {
                std::swap(lits[0], lits[1]);
                std::swap(clause.next[0], clause.next[1]);
            }
            const int following = clause.next[1];
            if (literalValue(lits[0]) == 1) {
                link = &clause.next[1];
                c = following;
                continue;
            }
            int k = 2;
            while (k < clause.size && literalValue(lits[k]) == 0) ++k;
            if (k < clause.size) {
                std::swap(lits[1], lits[k]);
                *link = following;
                watch(c, 1);
                c = following;
                continue;
            }
            if (literalValue(lits[0]) == 0) return c;
            assign(lits[0], c);
            link = &clause.next[1];
            c = following;
        }
    }
    return NO_CLAUSE;
}

// The pairings each group of four may still take.
void currentDomains(uint8_t* dom) {
    for (int g = 0; g < groupCount; ++g) {
        if (firstVariable[g] < 0) continue;
        uint8_t bits = 0;
        for (int p = 1; p <= 3; ++p)
            if (value[firstVariable[g] + p - 1] != 0) bits |= (uint8_t)(1 << p);
        dom[g] = bits;
    }
}

// The relaxed play has left tiles on the board under the pairings dom allows. Shrinks what it depends on:
// each group whose pairings are narrowed is, most recently narrowed first, given all three back, and kept
// so when the tiles left still block one another. Writes the rule (as literals, all false now) that the
// remaining narrowing breaks; returns its size.
int explainDeadEnd(uint8_t* dom, uint8_t* rule) {
    startsFromBoard = false;
    for (int i = 0; i < tileCount; ++i) {
        const int t = boardTiles[i];
        inSet[t] = !gone[t];
    }
    // The narrowed groups among the tiles left, latest narrowing first.
    int narrowed[MAX_GROUPS], narrowedLevel[MAX_GROUPS], n = 0;
    uint8_t listed[MAX_GROUPS] = {};
    for (int i = 0; i < tileCount; ++i) {
        const int t = boardTiles[i];
        const int g = groupOf[t];
        if (!inSet[t] || firstVariable[g] < 0 || dom[g] == ALL_PAIRINGS || listed[g]) continue;
        // A tile left blocked stays so whatever its partners; only a free tile waits for one.
        if (!relaxedFree(t)) continue;
        listed[g] = 1;
        int latest = 0;
        for (int p = 0; p < 3; ++p) {
            const int v = firstVariable[g] + p;
            if (value[v] >= 0) latest = std::max(latest, level[v] * MAX_VARIABLES + 1);
        }
        narrowed[n] = g;
        narrowedLevel[n++] = latest;
    }
    // The groups whose tiles left are all blocked need no narrowing.
    for (int g = 0; g < groupCount; ++g)
        if (firstVariable[g] >= 0 && !listed[g]) dom[g] = ALL_PAIRINGS;
    for (int i = 1; i < n; ++i)
        for (int j = i; j > 0 && narrowedLevel[j] > narrowedLevel[j - 1]; --j) {
            std::swap(narrowed[j], narrowed[j - 1]);
            std::swap(narrowedLevel[j], narrowedLevel[j - 1]);
        }
    for (int i = 0; i < n; ++i) {
        const int g = narrowed[i];
        const uint8_t saved = dom[g];
        dom[g] = ALL_PAIRINGS;
        if (play(dom) > 0) {
            for (int j = 0; j < tileCount; ++j) {
                const int t = boardTiles[j];
                inSet[t] = inSet[t] && !gone[t];
            }
        } else {
            dom[g] = saved;
        }
    }
    int size = 0;
    for (int i = 0; i < n; ++i) {
        const int g = narrowed[i];
        if (dom[g] == ALL_PAIRINGS) continue;
        bool inCore = false;
        for (int j = 0; j < 4; ++j) inCore |= inSet[groupTile[g][j]] != 0;
        if (!inCore) continue;
        int yes = -1;
        for (int p = 0; p < 3; ++p)
            if (value[firstVariable[g] + p] == 1) yes = firstVariable[g] + p;
        if (yes >= 0) {
            rule[size++] = (uint8_t)(2 * yes + 1);
        } else {
            for (int p = 0; p < 3; ++p)
                if (value[firstVariable[g] + p] == 0) rule[size++] = (uint8_t)(2 * (firstVariable[g] + p));
        }
    }
    return size;
}

void bumpGroup(int g) {
    groupActivity[g] += activityIncrement;
    if (groupActivity[g] > 1e100) {
        for (int h = 0; h < groupCount; ++h) groupActivity[h] *= 1e-100;
        activityIncrement *= 1e-100;
    }
}

// Learns from a broken rule (literals all false, at least one at the current level): the first unique
// implication point. Writes the learned rule with its asserting literal first and the literal of the
// level to go back to second; returns its size.
int analyse(int broken, uint8_t* learned) {
    int size = 1, pending = 0, index = trailCount - 1, literal = -1;
    int c = broken;
    do {
        const Clause& clause = clauses[c];
        const uint8_t* lits = literals + clause.start;
        if (clause.learned) clauses[c].activity += clauseIncrement;
        for (int i = literal < 0 ? 0 : 1; i < clause.size; ++i) {
            const int v = variableOf(lits[i]);
            if (seen[v] || level[v] == 0) continue;
            seen[v] = 1;
            bumpGroup(variableGroup[v]);
            if (level[v] == decisionLevel)
                ++pending;
            else
                learned[size++] = lits[i];
        }
        while (!seen[variableOf(trail[index])]) --index;
        literal = trail[index--];
        c = reason[variableOf(literal)];
        seen[variableOf(literal)] = 0;
        --pending;
    } while (pending > 0);
    learned[0] = (uint8_t)(literal ^ 1);
    for (int i = 1; i < size; ++i) seen[variableOf(learned[i])] = 0;
    // The literal of the latest level among the others goes second.
    for (int i = 2; i < size; ++i)
        if (level[variableOf(learned[i])] > level[variableOf(learned[1])]) std::swap(learned[1], learned[i]);
    activityIncrement /= ACTIVITY_DECAY;
    clauseIncrement /= 0.999f;
    return size;
}

int literalBlockDistance(const uint8_t* lits, int size) {
    static uint32_t stamp[MAX_VARIABLES + 1];
    static uint32_t now;
    ++now;
    int distinct = 0;
    for (int i = 0; i < size; ++i) {
        const int l = level[variableOf(lits[i])];
        if (stamp[l] != now) {
            stamp[l] = now;
            ++distinct;
        }
    }
    return distinct;
}

// At level 0 after propagation: drops rules that hold for good and literals that are false for good, keeps
// the `keep` best learned rules (fewest levels, then most used) and those of two levels at most unless the
// store is full (`full`), and watches anew.
void cleanUp(int keep, bool full) {
    static int ranked[CLAUSE_CAPACITY];
    int learnedSeen = 0;
    for (int c = 0; c < clauseCount; ++c)
        if (clauses[c].learned) ranked[learnedSeen++] = c;
    static uint8_t dropped[CLAUSE_CAPACITY];
    memset(dropped, 0, sizeof dropped);
    if (learnedSeen > keep) {
        std::sort(ranked, ranked + learnedSeen, [](int a, int b) {
            if (clauses[a].lbd != clauses[b].lbd) return clauses[a].lbd < clauses[b].lbd;
            return clauses[a].activity > clauses[b].activity;
        });
        for (int i = keep; i < learnedSeen; ++i)
            if (full || clauses[ranked[i]].lbd > 2) dropped[ranked[i]] = 1;
    }
    uint8_t scratch[MAX_VARIABLES + 1];
    uint32_t at = 0;
    int kept = 0;
    learnedCount = 0;
    for (int i = 0; i < 2 * variableCount; ++i) watchHead[i] = NO_CLAUSE;
    for (int c = 0; c < clauseCount; ++c) {
        if (dropped[c]) continue;
        Clause clause = clauses[c];
        const uint8_t* lits = literals + clause.start;
        bool holds = false;
        int size = 0;
        uint8_t* out = literals + at;
        for (int i = 0; i < clause.size; ++i) {
            const int v = literalValue(lits[i]);
            if (v == 1) holds = true;
            if (v != 0) scratch[size++] = lits[i];
        }
        if (holds) continue;
        if (size < 2) {  // cannot be after propagation at level 0; kept whole to be safe
            size = clause.size;
            memcpy(scratch, lits, (size_t)size);
        }
        memcpy(out, scratch, (size_t)size);
        clause.start = at;
        clause.size = (uint16_t)size;
        at += (uint32_t)size;
        clauses[kept] = clause;
        learnedCount += clause.learned;
        watch(kept, 0);
        watch(kept, 1);
        ++kept;
    }
    clauseCount = kept;
    literalCount = at;
    // Reasons of level 0 are never read again.
    for (int i = 0; i < trailCount; ++i) reason[variableOf(trail[i])] = NO_CLAUSE;
}

uint64_t luby(uint64_t i) {
    uint64_t size = 1;
    int power = 0;
    while (size < i + 1) {
        size = 2 * size + 1;
        ++power;
    }
    uint64_t x = i - 1;
    while (size - 1 != x) {
        size >>= 1;
        --power;
        x %= size;
    }
    return 1ull << power;
}

// The pairing of an open group that pairs the tiles the last successful relaxed play took off closest in
// time.
void notePhases(const uint8_t* dom) {
    for (int g = 0; g < groupCount; ++g) {
        if (firstVariable[g] < 0 || (dom[g] & (dom[g] - 1)) == 0) continue;
        const uint8_t* t = groupTile[g];
        int best = -1, bestDistance = 1 << 30;
        for (int p = 1; p <= 3; ++p) {
            if (!(dom[g] & (1 << p))) continue;
            const int c = p == 1 ? 2 : 1, d = 6 - p - c;
            const int distance = std::abs(leaveTime[t[0]] - leaveTime[t[p]]) + std::abs(leaveTime[t[c]] - leaveTime[t[d]]);
            if (distance < bestDistance) {
                bestDistance = distance;
                best = p;
            }
        }
        phase[g] = (uint8_t)best;
    }
}

// A real game played greedily with the pairings dom allows: pairs leave together, both free. Sure pairs
// first (a pair of a fixed pairing, the last two of a group, a group whose four tiles are all free), else
// the free pair whose tiles hold the most tiles down; its group's pairing is then fixed for this game and
// becomes the group's preferred one. Returns the tiles it leaves on the board; when none, order holds the
// pairs in the order they left.
int greedyGame(const uint8_t* dom, uint8_t* order) {
    memset(gone, 0, sizeof gone);
    memcpy(blockers, boardBlockers, sizeof blockers);
    uint8_t fixed[MAX_GROUPS];  // the pairing this game follows in each group of four, 0 while open
    for (int g = 0; g < groupCount; ++g) {
        fixed[g] = 0;
        if (firstVariable[g] >= 0 && (dom[g] & (dom[g] - 1)) == 0)
            fixed[g] = (uint8_t)(dom[g] == 2 ? 1 : dom[g] == 4 ? 2 : 3);
    }
    int left = tileCount, n = 0;
    auto takeOff = [&](int x) {
        gone[x] = 1;
        order[n++] = (uint8_t)x;
        --left;
        for (int i = 0; i < dependantCount[x]; ++i) --blockers[dependant[x][i]][dependantRelation[x][i]];
    };
    auto holds = [&](int x) {
        int count = 0;
        for (int i = 0; i < dependantCount[x]; ++i) count += !gone[dependant[x][i]];
        return count;
    };
    auto freeNow = [&](int x) { return !gone[x] && relaxedFree(x); };
    for (;;) {
        bool taken = false;
        for (int g = 0; g < groupCount; ++g) {
            const uint8_t* t = groupTile[g];
            if (groupSize[g] == 2 || fixed[g]) {
                const int p = groupSize[g] == 2 ? 1 : fixed[g];
                const int c = p == 1 ? 2 : 1, d = 6 - p - c;
                if (freeNow(t[0]) && freeNow(t[p])) {
                    takeOff(t[0]);
                    takeOff(t[p]);
                    taken = true;
                }
                if (groupSize[g] == 4 && freeNow(t[c]) && freeNow(t[d])) {
                    takeOff(t[c]);
                    takeOff(t[d]);
                    taken = true;
                }
            } else if (freeNow(t[0]) && freeNow(t[1]) && freeNow(t[2]) && freeNow(t[3])) {
                int p = phase[g];
                if (p < 1 || p > 3 || !(dom[g] & (1 << p))) p = dom[g] & 2 ? 1 : dom[g] & 4 ? 2 : 3;
                const int c = p == 1 ? 2 : 1, d = 6 - p - c;
                fixed[g] = (uint8_t)p;
                takeOff(t[0]);
                takeOff(t[p]);
                takeOff(t[c]);
                takeOff(t[d]);
                taken = true;
            }
        }
        if (taken) continue;
        int bestGroup = -1, bestPairing = 0, bestScore = -1;
        for (int g = 0; g < groupCount; ++g) {
            if (groupSize[g] != 4 || fixed[g]) continue;
            const uint8_t* t = groupTile[g];
            for (int p = 1; p <= 3; ++p) {
                if (!(dom[g] & (1 << p))) continue;
                const int c = p == 1 ? 2 : 1, d = 6 - p - c;
                int score = -1;
                if (freeNow(t[0]) && freeNow(t[p])) score = holds(t[0]) + holds(t[p]);
                if (freeNow(t[c]) && freeNow(t[d])) score = std::max(score, holds(t[c]) + holds(t[d]));
                if (score < 0) continue;
                score = 4 * score + (p == phase[g]);
                if (score > bestScore) {
                    bestScore = score;
                    bestGroup = g;
                    bestPairing = p;
                }
            }
        }
        if (bestGroup < 0) break;
        fixed[bestGroup] = (uint8_t)bestPairing;  // its free pair leaves in the next sweep
    }
    for (int g = 0; g < groupCount; ++g)
        if (fixed[g] && firstVariable[g] >= 0) phase[g] = fixed[g];
    return left;
}

// Sets the board and the rules that every group of four takes exactly one pairing. False when the position
// has no room for its rules.
void prepare() {
    tileCount = 0;
    groupCount = position.groupCount;
    variableCount = 0;
    for (int g = 0; g < groupCount; ++g) {
        const PositionGroup& group = position.groups[g];
        int n = 0;
        for (int i = 0; i < group.size; ++i) {
            const int t = position.groupTiles[group.first + i];
            if (!tileIsPresent(t)) continue;
            groupTile[g][n] = (uint8_t)t;
            groupOf[t] = (uint8_t)g;
            placeOf[t] = (uint8_t)n++;
            boardTiles[tileCount++] = (uint8_t)t;
        }
        groupSize[g] = (uint8_t)n;
        firstVariable[g] = n == 4 ? variableCount : -1;
        if (n == 4) {
            for (int p = 0; p < 3; ++p) variableGroup[variableCount + p] = (uint8_t)g;
            variableCount += 3;
        }
    }
    memset(dependantCount, 0, sizeof dependantCount);
    memset(boardBlockers, 0, sizeof boardBlockers);
    for (int i = 0; i < tileCount; ++i) {
        const int t = boardTiles[i];
        const PositionTile& tile = position.tiles[t];
        edgeOf[t] = tile.edge;
        boardBlockers[t][0] = tile.aboveCount;
        boardBlockers[t][1] = tile.leftCount;
        boardBlockers[t][2] = tile.rightCount;
    }
    for (int i = 0; i < tileCount; ++i) {
        const int t = boardTiles[i];
        const PositionTile& tile = position.tiles[t];
        const uint8_t* lists[3] = {tile.above, tile.left, tile.right};
        const int counts[3] = {tile.aboveCount, tile.leftCount, tile.rightCount};
        for (int r = 0; r < 3; ++r)
            for (int k = 0; k < counts[r]; ++k) {
                const int s = lists[r][k];
                dependant[s][dependantCount[s]] = (uint8_t)t;
                dependantRelation[s][dependantCount[s]++] = (uint8_t)r;
            }
    }
    clauseCount = learnedCount = 0;
    literalCount = 0;
    for (int i = 0; i < 2 * variableCount; ++i) watchHead[i] = NO_CLAUSE;
    for (int v = 0; v < variableCount; ++v) {
        value[v] = -1;
        seen[v] = 0;
        reason[v] = NO_CLAUSE;
    }
    trailCount = propagated = decisionLevel = 0;
    levelStart[0] = 0;
    activityIncrement = 1;
    clauseIncrement = 1;
    for (int g = 0; g < groupCount; ++g) {
        groupActivity[g] = 0;
        phase[g] = 1;
        if (firstVariable[g] < 0) continue;
        const int v = firstVariable[g];
        const uint8_t atLeastOne[3] = {(uint8_t)(2 * v), (uint8_t)(2 * v + 2), (uint8_t)(2 * v + 4)};
        addClause(atLeastOne, 3, false);
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b) {
                const uint8_t atMostOne[2] = {(uint8_t)(2 * (v + a) + 1), (uint8_t)(2 * (v + b) + 1)};
                addClause(atMostOne, 2, false);
            }
    }
    startFromBoard();
}

// The removal order from the last relaxed play, which cleared the board with one pairing a group: each
// pair leaves when the first of its tiles left in that play (its partner was free then, and stays free).
void writeOrder(const uint8_t* dom, uint8_t* order, int* orderCount) {
    uint8_t taken[TILE_COUNT] = {};
    int n = 0;
    for (int i = 0; i < leaveCount; ++i) {
        const int t = leaveOrder[i];
        if (taken[t]) continue;
        const int g = groupOf[t], k = placeOf[t];
        int p = 1;
        while (groupSize[g] == 4 && !(dom[g] & (1 << p))) ++p;
        const int q = groupSize[g] == 2 ? groupTile[g][1 - k] : groupTile[g][pairingPartner(k, p)];
        taken[t] = taken[q] = 1;
        order[n++] = (uint8_t)t;
        order[n++] = (uint8_t)q;
    }
    *orderCount = n;
}

}  // namespace

LearningOutcome searchWithLearning(bool (*stop)(), uint8_t* order, int* orderCount) {
    prepare();
    uint8_t dom[MAX_GROUPS];
    uint8_t rule[MAX_VARIABLES + 1];
    memset(dom, ALL_PAIRINGS, sizeof dom);
    if (play(dom) > 0) return LearningLost;
    notePhases(dom);
    // Groups that leave early are decided first until the dead ends say otherwise.
    for (int g = 0; g < groupCount; ++g) {
        if (firstVariable[g] < 0) continue;
        int first = TILE_COUNT;
        for (int j = 0; j < 4; ++j) first = std::min(first, (int)leaveTime[groupTile[g][j]]);
        groupActivity[g] = 1e-3 * (TILE_COUNT - first) / TILE_COUNT;
    }
    uint64_t conflicts = 0, restartAt = RESTART_UNIT, restarts = 1;
    int keep = FIRST_KEPT;
    bool fresh = true;  // no decision since the last dead end
    for (;;) {
        int broken = propagate();
        if (broken == NO_CLAUSE) {
            currentDomains(dom);
            int open = -1;
            double best = -1;
            for (int g = 0; g < groupCount; ++g)
                if (firstVariable[g] >= 0 && (dom[g] & (dom[g] - 1)) != 0 && groupActivity[g] > best) {
                    best = groupActivity[g];
                    open = g;
                }
            startFromBoard();
            if (play(dom) == 0) {
                if (open < 0) {
                    writeOrder(dom, order, orderCount);
                    return LearningWon;
                }
                if (fresh) notePhases(dom);
                if (fresh && greedyGame(dom, order) == 0) {
                    *orderCount = tileCount;
                    return LearningWon;
                }
                fresh = false;
                startFromBoard();
                if (stop()) return LearningStopped;
                int p = phase[open];
                if (p < 1 || p > 3 || !(dom[open] & (1 << p))) {
                    p = 1;
                    while (!(dom[open] & (1 << p))) ++p;
                }
                levelStart[++decisionLevel] = trailCount;
                assign(2 * (firstVariable[open] + p - 1), NO_CLAUSE);
                continue;
            }
            const int size = explainDeadEnd(dom, rule);
            if (size == 0) return LearningLost;
            // The rule's latest level; the search goes back to it first.
            int latest = 0;
            for (int i = 0; i < size; ++i) latest = std::max(latest, level[variableOf(rule[i])]);
            if (latest == 0) return LearningLost;
            backtrackTo(latest);
            if (size == 1) {
                backtrackTo(0);
                // Not a watched rule: holds at level 0 for good.
                assign(rule[0], NO_CLAUSE);
                if (stop()) return LearningStopped;
                ++conflicts;
                fresh = true;
                continue;
            }
            for (int i = 1; i < size; ++i)
                if (level[variableOf(rule[i])] == latest) std::swap(rule[0], rule[i]);
            for (int i = 2; i < size; ++i)
                if (level[variableOf(rule[i])] > level[variableOf(rule[1])]) std::swap(rule[1], rule[i]);
            broken = addClause(rule, size, true);
            if (broken == NO_CLAUSE) {
                backtrackTo(0);
                cleanUp(keep / 2, true);
                if (stop()) return LearningStopped;
                continue;
            }
            clauses[broken].lbd = (uint8_t)std::min(255, literalBlockDistance(rule, size));
            if (level[variableOf(rule[1])] < latest) {
                // Only one literal at the latest level: the rule asserts at once.
                backtrackTo(level[variableOf(rule[1])]);
                assign(rule[0], broken);
                if (stop()) return LearningStopped;
                ++conflicts;
                fresh = true;
                continue;
            }
        }
        // A broken rule: learn, go back, assert.
        ++conflicts;
        fresh = true;
        if (stop()) return LearningStopped;
        if (decisionLevel == 0) return LearningLost;
        uint8_t learned[MAX_VARIABLES + 1];
        const int size = analyse(broken, learned);
        if (size == 1) {
            backtrackTo(0);
            assign(learned[0], NO_CLAUSE);
        } else {
            backtrackTo(level[variableOf(learned[1])]);
            const int c = addClause(learned, size, true);
            if (c == NO_CLAUSE) {
                backtrackTo(0);
                cleanUp(keep / 2, true);
                if (stop()) return LearningStopped;
                continue;
            }
            clauses[c].lbd = (uint8_t)std::min(255, literalBlockDistance(learned, size));
            assign(learned[0], c);
        }
        if (conflicts >= restartAt) {
            restartAt = conflicts + RESTART_UNIT * luby(++restarts);
            backtrackTo(0);
            if (propagate() != NO_CLAUSE) return LearningLost;
            if (learnedCount > keep) {
                cleanUp(keep, false);
                keep += keep / 10;
            }
        }
    }
}
