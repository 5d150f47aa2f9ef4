// korvane-in-own-network PROGRAM [ARGUMENT...]: runs PROGRAM in a network of its own, as
// each black-box test process runs (own_network.h), for a test that is a script rather
// than a test executable. KORVANE_OWN_NETWORK=1 tells the program that the deployment's
// port is its own; where no network of its own could be made it is not set, and the
// program takes its turn on the machine's port.

#include <stdlib.h>
#include <unistd.h>

#include <cstdio>

#include "tests/support/own_network.h"

int main(int argc, char** argv) {
  if (argc < 2) {
    std::fprintf(stderr, "usage: korvane-in-own-network PROGRAM [ARGUMENT...]\n");
    return 2;
  }
  if (korvane::testing_support::HasOwnNetwork()) ::setenv("KORVANE_OWN_NETWORK", "1", 1);
  ::execvp(argv[1], argv + 1);
  std::perror(argv[1]);
  return 127;
}
