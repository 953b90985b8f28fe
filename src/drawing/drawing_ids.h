// Identifiers of the drawings of one document (wp:docPr ids).
#pragma once

#include <cstdint>

namespace Word {
class Document;
}

// A new drawing id for `document`: a random number in 1..134217726 that no
// wp:docPr of the main part, a header or a footer already uses (readers
// reject or renumber a document whose drawings share an id).
int64_t Document_NextDrawingId(const Word::Document& document);
