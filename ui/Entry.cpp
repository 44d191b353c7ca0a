// Marlovent's entry.
#include "ui/Program.h"

int main(int Argc, char** Argv) {
  return marlovent::RunProgram(Argc, Argv);
}
