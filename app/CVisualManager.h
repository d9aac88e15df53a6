#pragma once

// The application looks: each look command (210 to 218) selects a Qt style and a palette that
// look like what its name promises. The four Office 2007 colour styles share one manager whose
// colour style stays as it was when an unknown look is applied.

class CVisualManager {
public:
    enum Office2007Style { kBlue = 0, kBlack = 1, kAqua = 2, kSilver = 3 };

    // Applies look nLook to the whole application.
    void Apply(int nLook);
    Office2007Style GetOffice2007Style() const { return m_eOffice2007Style; }

private:
    Office2007Style m_eOffice2007Style = kBlue;
};
