/* ReferenceLzhuf: the classic LZHUF decoder, written out plainly as the
   published algorithm describes it: LZSS over a 4096-byte ring whose
   literals and match lengths are coded by an adaptive Huffman tree and
   whose match positions by a fixed table plus six raw bits. */
#include "ReferenceLzhuf.h"

#define N 4096
#define F 60
#define THRESHOLD 2
#define N_CHAR (256 - THRESHOLD + F)
#define T (N_CHAR * 2 - 1)
#define R (T - 1)
#define MAX_FREQ 0x8000

static unsigned char text_buf[N + F - 1];
static unsigned freq[T + 1];
static int prnt[T + N_CHAR];
static int son[T];

static unsigned char d_code[256];
static unsigned char d_len[256];

static const unsigned char* in_ptr;
static const unsigned char* in_end;
static unsigned short getbuf;
static unsigned char getlen;

/* The position tables: code c covers count entries of the 256, all of
   code length len. */
static void make_position_tables(void) {
    static const int counts[6] = {32, 16, 8, 4, 2, 1};
    static const int codes[6] = {1, 3, 8, 12, 24, 16};
    int row, c, k, i = 0, code = 0;

    for (row = 0; row < 6; row++) {
        for (c = 0; c < codes[row]; c++, code++) {
            for (k = 0; k < counts[row]; k++, i++) {
                d_code[i] = (unsigned char)code;
                d_len[i] = (unsigned char)(row + 3);
            }
        }
    }
}

static int GetBit(void) {
    int i;

    while (getlen <= 8) {
        i = in_ptr < in_end ? *in_ptr++ : 0;
        getbuf |= i << (8 - getlen);
        getlen += 8;
    }
    i = getbuf;
    getbuf <<= 1;
    getlen--;
    return (i >> 15) & 1;
}

static int GetByte(void) {
    unsigned i;

    while (getlen <= 8) {
        i = in_ptr < in_end ? *in_ptr++ : 0;
        getbuf |= i << (8 - getlen);
        getlen += 8;
    }
    i = getbuf;
    getbuf <<= 8;
    getlen -= 8;
    return (int)(i >> 8);
}

static void StartHuff(void) {
    int i, j;

    for (i = 0; i < N_CHAR; i++) {
        freq[i] = 1;
        son[i] = i + T;
        prnt[i + T] = i;
    }
    i = 0;
    j = N_CHAR;
    while (j <= R) {
        freq[j] = freq[i] + freq[i + 1];
        son[j] = i;
        prnt[i] = prnt[i + 1] = j;
        i += 2;
        j++;
    }
    freq[T] = 0xffff;
    prnt[R] = 0;
}

static void reconst(void) {
    int i, j, k;
    unsigned f, l;

    j = 0;
    for (i = 0; i < T; i++) {
        if (son[i] >= T) {
            freq[j] = (freq[i] + 1) / 2;
            son[j] = son[i];
            j++;
        }
    }
    for (i = 0, j = N_CHAR; j < T; i += 2, j++) {
        f = freq[j] = freq[i] + freq[i + 1];
        for (k = j - 1; f < freq[k]; k--)
            ;
        k++;
        l = (unsigned)(j - k);
        for (; l > 0; l--) {
            freq[k + l] = freq[k + l - 1];
            son[k + l] = son[k + l - 1];
        }
        freq[k] = f;
        son[k] = i;
    }
    for (i = 0; i < T; i++) {
        if ((k = son[i]) >= T) {
            prnt[k] = i;
        } else {
            prnt[k] = prnt[k + 1] = i;
        }
    }
}

static void update(int c) {
    int i, j, l;
    unsigned k;

    if (freq[R] == MAX_FREQ) reconst();
    c = prnt[c + T];
    do {
        k = ++freq[c];
        if (k > freq[l = c + 1]) {
            while (k > freq[++l])
                ;
            l--;
            freq[c] = freq[l];
            freq[l] = k;

            i = son[c];
            prnt[i] = l;
            if (i < T) prnt[i + 1] = l;

            j = son[l];
            son[l] = i;

            prnt[j] = c;
            if (j < T) prnt[j + 1] = c;
            son[c] = j;

            c = l;
        }
    } while ((c = prnt[c]) != 0);
}

static int DecodeChar(void) {
    int c = son[R];

    while (c < T) {
        c += GetBit();
        c = son[c];
    }
    c -= T;
    update(c);
    return c;
}

static int DecodePosition(void) {
    int i, j, c;

    i = GetByte();
    c = (int)d_code[i] << 6;
    j = d_len[i];
    j -= 2;
    while (j--) i = (i << 1) + GetBit();
    return c | (i & 0x3f);
}

size_t ReferenceLzhufOutputRoom(unsigned long textsize) { return (size_t)textsize + F; }

size_t ReferenceLzhufDecode(const unsigned char* in, size_t insize, unsigned char* out, unsigned long textsize) {
    int i, j, k, r, c;
    unsigned long count;
    unsigned char* put = out;

    if (textsize == 0) return 0;
    make_position_tables();
    in_ptr = in;
    in_end = in + insize;
    getbuf = 0;
    getlen = 0;
    StartHuff();
    for (i = 0; i < N - F; i++) text_buf[i] = ' ';
    for (; i < N + F - 1; i++) text_buf[i] = 0;
    r = N - F;
    for (count = 0; count < textsize;) {
        c = DecodeChar();
        if (c < 256) {
            *put++ = (unsigned char)c;
            text_buf[r++] = (unsigned char)c;
            r &= (N - 1);
            count++;
        } else {
            i = (r - DecodePosition() - 1) & (N - 1);
            j = c - 255 + THRESHOLD;
            for (k = 0; k < j; k++) {
                c = text_buf[(i + k) & (N - 1)];
                *put++ = (unsigned char)c;
                text_buf[r++] = (unsigned char)c;
                r &= (N - 1);
                count++;
            }
        }
    }
    return (size_t)(put - out);
}
