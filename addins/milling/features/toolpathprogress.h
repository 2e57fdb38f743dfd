// The progress bar of a milling command as the toolpath computations drive
// it, and the steps they take on it.
#pragma once

// What a computation needs of the command's progress bar: its range and a
// way to move its position. The command panel adapts its control to this.
class CToolpathProgressBar {
public:
    virtual ~CToolpathProgressBar() = default;
    virtual void GetRange(int& lower, int& upper) = 0;
    virtual void DeltaPos(int delta) = 0;
};

// Steps on a bar whose range is read once; every step moves the position by
// a share of the range, truncated toward zero. Without a bar nothing moves.
class CProgressSteps {
public:
    explicit CProgressSteps(CToolpathProgressBar* bar) : m_bar(bar)
    {
        if (m_bar != nullptr) {
            int lower = 0, upper = 0;
            m_bar->GetRange(lower, upper);
            m_range = upper - lower;
        }
    }
    // Moves the position by range / parts (parts > 0).
    void Advance(int parts)
    {
        if (m_bar != nullptr && parts > 0)
            m_bar->DeltaPos(m_range / parts);
    }

private:
    CToolpathProgressBar* m_bar;
    int m_range = 0;
};
