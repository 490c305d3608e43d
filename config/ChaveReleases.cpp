#include "config/ChaveReleases.h"

#include "config/ChaveReleasesEmbutida.h"

namespace config {

std::string ChaveDeReleases() {
    return embutida::ChaveDeReleases;
}

} // namespace config
