#pragma once
// How a picture is encoded as a baseline JPEG stream.

enum class ChromaSubsampling { Full444, Half422, Quarter420 };

struct JpegEncodeSettings {
    int quality = 95; // 1..100
    ChromaSubsampling chroma = ChromaSubsampling::Full444;
};
