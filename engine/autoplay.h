// Automatic play: replays the removal order of the last easy deal.
#pragma once

void startAutoplay();
