#include <QCoreApplication>

#include "app/CommandLine.h"

int main(int argc, char* argv[]) {
    return tempolatch::runCommandLine(argc, argv);
}
