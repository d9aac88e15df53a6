#include "engine/PeriodicPicture.h"

#include <algorithm>
#include <cmath>
#include <cstddef>

CPeriodicPicture::CPeriodicPicture(int width, int height, int channels,
                                   const std::vector<double> &samples, const PeriodicAxis &ax,
                                   int x0, int count)
    : m_nWidth(width), m_nHeight(height), m_nChannels(channels), m_ColumnScale(ax.scale),
      m_ColumnPrefix(static_cast<std::size_t>(height + 1) * width * channels, 0.0),
      m_RowPrefix(static_cast<std::size_t>(width + 1) * channels, 0.0) {
    const std::size_t row = static_cast<std::size_t>(width) * channels;
    for (int k = 0; k < height; ++k) {
        for (std::size_t i = 0; i < row; ++i)
            m_ColumnPrefix[(k + 1) * row + i] = m_ColumnPrefix[k * row + i] + samples[k * row + i];
    }
    m_Columns.reserve(count);
    for (int x = x0; x < x0 + count; ++x)
        m_Columns.emplace_back(width, (x - ax.origin) * ax.scale, ax.scale);
}

// The start is brought into the first period: the whole periods it skips add nothing to the
// integral, and large sums would cost the difference its precision.
CPeriodicPicture::Span::Span(int steps, double start, double length) : n(steps) {
    const double a = start - std::floor(start / n) * n;
    const double end = a + length;
    periods = std::floor(end / n);
    const double r = end - periods * n;
    k0 = std::min(static_cast<int>(a), n - 1);
    f0 = a - k0;
    k1 = std::min(static_cast<int>(r), n - 1);
    f1 = r - k1;
}

// The steps are constant, so the running sum between two whole steps is a straight line.
double CPeriodicPicture::Span::Integral(const double *prefix, int stride) const {
    const auto at = [&](int k) { return prefix[static_cast<std::ptrdiff_t>(k) * stride]; };
    const double end = at(k1) + f1 * (at(k1 + 1) - at(k1));
    const double start = at(k0) + f0 * (at(k0 + 1) - at(k0));
    return periods * at(n) + end - start;
}

void CPeriodicPicture::AverageRow(const PeriodicAxis &ay, int y, std::vector<double> &out) {
    const int c = m_nChannels;
    const int row = m_nWidth * c;
    const Span rows(m_nHeight, (y - ay.origin) * ay.scale, ay.scale);
    for (int i = 0; i < row; ++i)
        m_RowPrefix[i + c] = m_RowPrefix[i] + rows.Integral(&m_ColumnPrefix[i], row);
    const double area = m_ColumnScale * ay.scale;
    out.resize(m_Columns.size() * c);
    double *mean = out.data();
    for (const Span &column : m_Columns) {
        for (int k = 0; k < c; ++k)
            *mean++ = column.Integral(&m_RowPrefix[k], c) / area;
    }
}
