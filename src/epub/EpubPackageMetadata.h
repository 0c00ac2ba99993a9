#pragma once
// The package's metadata as the source has it: Dublin Core of either package version, the
// series in both spellings, and the cover picture.

#include <libxml/tree.h>

#include "epub/EpubArchive.h"
#include "epub/EpubMetadata.h"
#include "epub/EpubPackage.h"

namespace brisna {

// Reads the metadata under the package's root element. A cover that cannot be read, or is no
// JPEG or PNG, leaves the metadata without a cover and refuses nothing.
void ReadPackageMetadata(xmlNode* root, const EpubManifest& items, EpubArchive& archive,
                         EpubMetadata& metadata);

}  // namespace brisna
