#include "shell/mainwindow.h"

WindowHandle mainWindow = nullptr;
int frameHeight = 0;
int toolbarHeight = 0;
int statusBarHeight = 0;
