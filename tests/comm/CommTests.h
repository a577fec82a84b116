#pragma once
// Each runs one test class of the comm area and returns its failure count.

int runReplyDecodeTest(int argc, char** argv);
int runSerialControlTest(int argc, char** argv);
int runPortTroubleTest(int argc, char** argv);
int runCommandLayerTest(int argc, char** argv);
