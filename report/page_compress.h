// The page compressor: an adaptive splay-tree prefix coder for the bytes of one stored page
// picture. Every byte is coded as the path from the root of a binary code tree to the
// byte's leaf (a 1 bit goes to the right child), and after each byte the tree is semi-
// splayed so that frequent bytes get shorter codes. Both directions start from the same tree
// and change it in the same way, so a coded run carries no table; it carries no byte count
// either (the page record holds it). One object codes one run, from the initial tree.
//
// The tree: inner nodes 0 to 255 (0 is the root) with the children 2j+1 and 2j+2, leaves
// 256 to 512, leaf 256+b standing for byte b. Node 255 is itself an inner node, so the bytes
// 0 to 254 start at depth 8 and byte 255 one level deeper, beside leaf 512, which stands for
// no byte (an expander that reaches it reads a damaged run). Saved page files depend on
// exactly this tree.
//
// Bits: bit p of a coded byte has the mask 2^p; the first bit of a code goes into the least
// significant bit of the first byte. The coder gathers and reads bytes in blocks, but the
// stream ends up exactly where coding byte by byte would leave it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/stream.h"

namespace rpt {

class TRptCompress {
 public:
  // A compressor (`compress` true) writing at the stream's position, or an expander reading
  // from it, at most `limit` bytes (negative: up to the stream's end). The stream is not
  // owned.
  TRptCompress(platform::Stream& stream, bool compress, int64_t limit = -1);
  // Finishes the run (Finish); errors are lost here, so call Finish to see them.
  ~TRptCompress();
  TRptCompress(const TRptCompress&) = delete;
  TRptCompress& operator=(const TRptCompress&) = delete;

  // Appends the code of one byte. Raises ERptError when the stream takes no more bytes.
  void CompressByte(uint8_t b);
  void Compress(const void* data, size_t count);
  // Decodes one byte. False for a damaged run: it ends (or reaches the limit) inside a code,
  // or a code leads to leaf 512.
  bool ExpandByte(uint8_t& b);
  bool Expand(void* out, size_t count);
  // Compressor: writes the gathered bytes and the last, partly filled byte (a run of no
  // bytes writes nothing). Expander: leaves the stream just after the last byte it used.
  // Raises ERptError when the stream refuses. Only the first call acts.
  void Finish();

  // The coder's steps, open for tests of the tables: the initial tree and the semi-splay
  // after byte b, identical on both sides.
  void InitTree();
  void Splay(uint8_t b);
  uint16_t Left(int node) const { return left_[node]; }
  uint16_t Right(int node) const { return right_[node]; }
  uint8_t Parent(int node) const { return parent_[node]; }

 private:
  void Flush();
  bool Fill();

  platform::Stream& stream_;
  bool compress_;
  bool finished_ = false;
  uint8_t bitPos_;        // the bit of the current byte used next
  uint16_t inByte_ = 0;   // expander: the byte last read
  uint16_t outByte_ = 0;  // compressor: the bits gathered so far
  uint16_t left_[256];
  uint16_t right_[256];
  uint8_t parent_[513];
  int64_t remaining_;     // expander: bytes it may still take from the stream (-1: no limit)
  unsigned char buf_[4096];
  size_t bufLen_ = 0;     // bytes gathered (compressor) or read ahead (expander)
  size_t bufPos_ = 0;     // expander: the next byte of the block
};

}  // namespace rpt
