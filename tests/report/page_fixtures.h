// Pages and page files for the tests of the report page store.
#pragma once

#include <string>
#include <vector>

namespace rpttest {

// A recorded A4 page (794 x 1123 reference pixels): a frame, a title naming n, a table of
// ruled lines and a few filled boxes, so pages differ and compress like real ones.
std::string MakePage(int n);
std::vector<std::string> MakePages(int count);

// A page file made by hand from the layout: a header of `headerLength` bytes (128, 124 or
// 96) counting the pages, then one plain record per page.
std::string HandMadeFile(int headerLength, const std::vector<std::string>& pages);

// The bytes of a page stream written by the page list (in memory).
std::string ListBytes(const std::vector<std::string>& pages, bool compressed);

void PutI32At(std::string& bytes, size_t offset, int32_t value);
int32_t I32At(const std::string& bytes, size_t offset);

}  // namespace rpttest
