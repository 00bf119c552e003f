#include "app/traymate_main.h"

int main(int argc, char* argv[])
{
    return TraymateMain::main(argc, argv);
}
