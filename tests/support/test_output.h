// The folder a test program writes its scratch files and pictures in. Every
// test program is compiled with TM_TEST_OUTPUT_DIR standing for this call on
// its folder under the build tree, so that two runs of one program at the
// same time never share a file: a run takes the folder when no other run
// holds it, else the first free "<folder>.2", "<folder>.3", ... beside it,
// and holds it until the run ends. One run after another finds the same
// folder, where the screenshots are left and where a case of the x11 events
// finds the data folder that the case before it left. On an X server the
// folder is "<folder>-x<display number>": runs side by side, each on a
// server of its own, never take up each other's data folders.
#pragma once

const char* TmTestOutputDir(const char* programFolder);
