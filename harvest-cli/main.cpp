#include "app/HeadlessHarvest.h"

int main(int argc, char** argv) {
    return tavrisk::app::HeadlessHarvestMain(argc, argv);
}
