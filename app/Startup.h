#pragma once
int runTarvola(int argc, char** argv);
