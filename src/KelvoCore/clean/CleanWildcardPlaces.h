#pragma once

#include "clean/CleanLocations.h"

#include <QString>

// Turns the catalogue's wildcard places into the places that exist in a home folder now.
namespace CleanWildcardPlaces {
// The catalogue with, in each group after its named targets, one target for every folder a wildcard
// finds below home, in name order. The folder the "*" stands for is listed from its parent, reached
// from home without a link; an application folder or a cache folder that is a link is left out, and
// so is a place the catalogue already names.
CleanCatalogue expanded(const CleanCatalogue& catalogue, const QString& home);
} // namespace CleanWildcardPlaces
