/* ReferenceLzhuf: a plain transcription of the classic LZHUF decoder (global
   tables, the adaptive Huffman tree, a byte pointer for input), kept only as
   the benchmark's yardstick for the engine's decoder. Never linked into the
   engine. */
#ifndef QUIRN_BENCH_REFERENCE_LZHUF_H
#define QUIRN_BENCH_REFERENCE_LZHUF_H

#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

/* Room the output needs for textsize bytes: the last match may run up to
   59 bytes past textsize. */
size_t ReferenceLzhufOutputRoom(unsigned long textsize);

/* Decodes the bit stream in[0, insize) until at least textsize bytes are
   written to out (which must hold ReferenceLzhufOutputRoom(textsize) bytes).
   Input that ends early reads as zero bits. Returns the bytes written. */
size_t ReferenceLzhufDecode(const unsigned char* in, size_t insize, unsigned char* out, unsigned long textsize);

#ifdef __cplusplus
}
#endif

#endif
