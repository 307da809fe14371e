#include "BatchHeap.h"
#include "CliApp.h"

int main(int argc, char *argv[])
{
    BatchHeap::prepare();
    return CliApp::run(argc, argv);
}
