// Free tiles and removable pairs.
#pragma once

constexpr int DEAL_CANDIDATE_LIMIT = 50;

void computeFreeTiles();
// mode 0: every removable pair; mode 1: stops after more than DEAL_CANDIDATE_LIMIT pairs.
void findPairs(int mode);
