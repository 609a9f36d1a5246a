#include "solver/learning.h"

#include <algorithm>
#include <cstdlib>
#include <cstring>

#include "solver/position.h"
#include "solver/relaxed_play.h"
#include "solver/rule_store.h"

namespace {

constexpr int MAX_GROUPS = TILE_COUNT / 2;
static_assert(3 * (TILE_COUNT / 4) <= RULE_MAX_VARIABLES, "three questions for each group of four");

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

inline bool relaxedFree(int t) {
    const uint8_t* b = blockers[t];
    return b[0] == 0 && (edgeOf[t] || b[1] == 0 || b[2] == 0);
}

void startFromBoard() {
    for (int i = 0; i < tileCount; ++i) inSet[boardTiles[i]] = 1;
}

// Plays from the tiles in inSet with the pairings allowed by dom (bits 1-3 a group of four); returns how
// many tiles it leaves on the board (gone[t] == 0 for those of inSet).
int play(const uint8_t* dom) {
    memcpy(blockers, boardBlockers, sizeof blockers);
    int left = 0;
    for (int i = 0; i < tileCount; ++i) {
        const int t = boardTiles[i];
        gone[t] = !inSet[t];
        left += inSet[t];
        if (gone[t])
            for (int k = 0; k < dependantCount[t]; ++k) --blockers[dependant[t][k]][dependantRelation[t][k]];
    }
    int top = 0;
    for (int i = 0; i < tileCount; ++i) {
        const int t = boardTiles[i];
        if (!gone[t] && relaxedFree(t)) playStack[top++] = (uint8_t)t;
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
// The questions: variable firstVariable[g] + p - 1 asks "does group g take pairing p?".

uint8_t phase[MAX_GROUPS];  // preferred pairing of each group of four

// The pairings each group of four may still take.
void currentDomains(uint8_t* dom) {
    for (int g = 0; g < groupCount; ++g) {
        if (firstVariable[g] < 0) continue;
        uint8_t bits = 0;
        for (int p = 1; p <= 3; ++p)
            if (rules.value[firstVariable[g] + p - 1] != 0) bits |= (uint8_t)(1 << p);
        dom[g] = bits;
    }
}

// Why tiles the relaxed play leaves are lost for good: each of them is blocked by tiles among them, or free
// with every partner its group's possible pairings give it among them and blocked. In a real game under
// those pairings (whatever the other groups do), the first of them to leave would need to be free and to
// leave with a free partner its pairing gives it, while all of them are still on the board; a removal only
// ever frees tiles, so that cannot happen. The rule therefore needs only the narrowed pairings of the groups
// of those tiles, and none of a group whose tiles among them are all blocked.
//
// The relaxed play has left tiles on the board under the pairings dom allows. Shrinks what it depends on:
// each group whose pairings are narrowed is, most recently narrowed first, given all three back, and kept
// so when the tiles left still block one another. Writes the rule (as literals, all false now) that the
// remaining narrowing breaks; returns its size.
int explainDeadEnd(uint8_t* dom, uint8_t* rule) {
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
            if (rules.value[v] >= 0) latest = std::max(latest, rules.level[v] + 1);
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
            if (rules.value[firstVariable[g] + p] == 1) yes = firstVariable[g] + p;
        if (yes >= 0) {
            rule[size++] = (uint8_t)(2 * yes + 1);
        } else {
            for (int p = 0; p < 3; ++p)
                if (rules.value[firstVariable[g] + p] == 0) rule[size++] = (uint8_t)(2 * (firstVariable[g] + p));
        }
    }
    return size;
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
// the free pair that frees the most tiles, then holds the most tiles down; its group's pairing is then
// fixed for this game and becomes the group's preferred one. Returns the tiles it leaves on the board;
// when none, order holds the pairs in the order they left.
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
    // Tiles that taking off the free pair (a, b) would free.
    auto frees = [&](int a, int b) {
        uint8_t before[32];
        int n = 0;
        for (int x : {a, b})
            for (int i = 0; i < dependantCount[x]; ++i) before[n++] = relaxedFree(dependant[x][i]);
        for (int x : {a, b})
            for (int i = 0; i < dependantCount[x]; ++i) --blockers[dependant[x][i]][dependantRelation[x][i]];
        int freed = 0;
        n = 0;
        for (int x : {a, b})
            for (int i = 0; i < dependantCount[x]; ++i) {
                const int d = dependant[x][i];
                freed += !gone[d] && d != a && d != b && !before[n++] && relaxedFree(d);
            }
        for (int x : {a, b})
            for (int i = 0; i < dependantCount[x]; ++i) ++blockers[dependant[x][i]][dependantRelation[x][i]];
        return freed;
    };
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
                if (freeNow(t[0]) && freeNow(t[p])) score = 4 * frees(t[0], t[p]) + holds(t[0]) + holds(t[p]);
                if (freeNow(t[c]) && freeNow(t[d]))
                    score = std::max(score, 4 * frees(t[c], t[d]) + holds(t[c]) + holds(t[d]));
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

// Sets the board from the position and the rules that every group of four takes exactly one pairing.
void prepare() {
    tileCount = 0;
    groupCount = position.groupCount;
    int variableCount = 0;
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
        if (n == 4) variableCount += 3;
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
    resetRules(variableCount);
    for (int g = 0; g < groupCount; ++g) {
        phase[g] = 1;
        if (firstVariable[g] < 0) continue;
        const int v = firstVariable[g];
        const uint8_t atLeastOne[3] = {(uint8_t)(2 * v), (uint8_t)(2 * v + 2), (uint8_t)(2 * v + 4)};
        addRule(atLeastOne, 3);
        for (int a = 0; a < 3; ++a)
            for (int b = a + 1; b < 3; ++b) {
                const uint8_t atMostOne[2] = {(uint8_t)(2 * (v + a) + 1), (uint8_t)(2 * (v + b) + 1)};
                addRule(atMostOne, 2);
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

// How much the dead ends involved group g lately.
double groupActivity(int g) {
    const int v = firstVariable[g];
    return rules.activity[v] + rules.activity[v + 1] + rules.activity[v + 2];
}

}  // namespace

LearningOutcome searchWithLearning(bool (*stop)(), uint8_t* order, int* orderCount) {
    prepare();
    uint8_t dom[MAX_GROUPS];
    uint8_t rule[RULE_MAX_VARIABLES + 1];
    memset(dom, ALL_PAIRINGS, sizeof dom);
    if (play(dom) > 0) return LearningLost;
    notePhases(dom);
    // Groups that leave early are decided first until the dead ends say otherwise.
    for (int g = 0; g < groupCount; ++g) {
        if (firstVariable[g] < 0) continue;
        int first = TILE_COUNT;
        for (int j = 0; j < 4; ++j) first = std::min(first, (int)leaveTime[groupTile[g][j]]);
        rules.activity[firstVariable[g]] = 1e-3 * (TILE_COUNT - first) / TILE_COUNT;
    }
    bool fresh = true;  // no decision since the last dead end
    for (;;) {
        if (!propagateRules()) {
            if (stop()) return LearningStopped;
            if (!learnFromBrokenRule() || !restartWhenDue()) return LearningLost;
            fresh = true;
            continue;
        }
        currentDomains(dom);
        int open = -1;
        double best = -1;
        for (int g = 0; g < groupCount; ++g)
            if (firstVariable[g] >= 0 && (dom[g] & (dom[g] - 1)) != 0 && groupActivity(g) > best) {
                best = groupActivity(g);
                open = g;
            }
        startFromBoard();
        if (play(dom) == 0) {
            if (open < 0) {
                writeOrder(dom, order, orderCount);
                return LearningWon;
            }
            if (fresh) {
                notePhases(dom);
                if (greedyGame(dom, order) == 0) {
                    *orderCount = tileCount;
                    return LearningWon;
                }
                fresh = false;
            }
            if (stop()) return LearningStopped;
            int p = phase[open];
            if (p < 1 || p > 3 || !(dom[open] & (1 << p))) {
                p = 1;
                while (!(dom[open] & (1 << p))) ++p;
            }
            decide(2 * (firstVariable[open] + p - 1));
            continue;
        }
        const int size = explainDeadEnd(dom, rule);
        if (stop()) return LearningStopped;
        if (size == 0 || !learnRule(rule, size) || !restartWhenDue()) return LearningLost;
        fresh = true;
    }
}
