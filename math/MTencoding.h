#ifndef MTENCODING_H
#define MTENCODING_H

// How symbols are resolved: Windows Symbol font layout, Unicode code points,
// or positions of the LaTeX-style fonts.
enum MTencoding {
    EncodingWinSymbol = 0,
    EncodingUnicode = 1,
    EncodingTex = 2
};

#endif // MTENCODING_H
