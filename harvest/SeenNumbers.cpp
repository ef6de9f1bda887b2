#include "harvest/SeenNumbers.h"

#include <utility>

namespace tavrisk {

void SeenNumbers::Add(std::string number) {
    items_.push_back(std::move(number));
    index_.insert(std::string_view(items_.back()));
}

}  // namespace tavrisk
