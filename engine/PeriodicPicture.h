#pragma once

// Private to engine/: a small picture repeated without end over the device, read back as the
// average of each device pixel. A pattern whose cells are smaller than a pixel shows, in every
// pixel, the mean of the many cells that fall in it: this is that mean, computed from one
// period instead of from millions of cells.

#include <vector>

// How device pixels fall on one axis of the repeated picture.
struct PeriodicAxis {
    double origin; // the device coordinate where a period begins
    double scale;  // picture samples per device pixel
};

class CPeriodicPicture {
public:
    // samples: width x height samples of `channels` values each, row by row, read back in the
    // device columns x0 to x0 + count - 1 as they fall on the picture along ax.
    CPeriodicPicture(int width, int height, int channels, const std::vector<double> &samples,
                     const PeriodicAxis &ax, int x0, int count);

    int Channels() const { return m_nChannels; }

    // The mean of every channel over the pixels of device row y in those columns, written to
    // out as one group of Channels() values a column.
    void AverageRow(const PeriodicAxis &ay, int y, std::vector<double> &out);

private:
    // Where an interval of the repeated steps begins and ends within the period of n steps.
    struct Span {
        Span(int n, double start, double length);
        // The integral over the interval, from the sums of the first k steps, k = 0..n, found
        // `stride` values apart from prefix.
        double Integral(const double *prefix, int stride) const;

        int n;
        double periods; // the whole periods before the end
        int k0, k1;     // the steps holding the start and the end
        double f0, f1;  // how far into them
    };

    int m_nWidth, m_nHeight, m_nChannels;
    double m_ColumnScale;
    // For each row k = 0..height, the sums of each column's samples above row k.
    std::vector<double> m_ColumnPrefix;
    // Where each device column falls: the same for every row.
    std::vector<Span> m_Columns;
    // Scratch for one device row: each column's integral, then their running sums.
    std::vector<double> m_RowPrefix;
};
