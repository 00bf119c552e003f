#pragma once

// The process entry: hands requests to a running instance, or becomes the instance and runs
// the tray program until "Quit Traymate".
namespace TraymateMain {

int main(int argc, char* argv[]);

} // namespace TraymateMain
