#pragma once

#include <filesystem>
#include <vector>

#include "framework/storage/keyed_file.h"

// Product files in the old and the current layout for the conversion tests.
namespace paltrix::convert::testing {

// Creates a keyed file of `schema` at `path` (in `where`) holding `images`,
// in this order.
void WriteProductFile(const storage::FileSchema& schema, const std::filesystem::path& path,
                      const std::vector<std::vector<char>>& images,
                      const storage::StorageTarget& where = storage::StorageTarget::DataFolder());

// Every record image of the file in physical order; fails the test when it
// cannot be opened as `schema`.
std::vector<std::vector<char>> ReadProductFile(
    const storage::FileSchema& schema, const std::filesystem::path& path,
    const storage::StorageTarget& where = storage::StorageTarget::DataFolder());

// `count` old-layout images with distinct IDs and every field used.
std::vector<std::vector<char>> OldProducts(int count);

// The current-layout image `convert` makes from an old one.
std::vector<char> Converted(const std::vector<char>& old);

}  // namespace paltrix::convert::testing
