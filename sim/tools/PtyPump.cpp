#include "sim/tools/PtyPump.h"

#include <poll.h>
#include <unistd.h>

void CPtyPump::Step(int waitMs)
{
    pollfd fd{m_nMaster, POLLIN, 0};
    if (poll(&fd, 1, m_out.empty() ? waitMs : 1) > 0 && (fd.revents & POLLIN) != 0) {
        uint8_t buffer[4096];
        const ssize_t n = read(m_nMaster, buffer, sizeof buffer);
        for (ssize_t i = 0; i < n; ++i)
            m_end.ReceiveWholeByte(buffer[i]);
    }
    for (uint8_t byte = 0; m_end.TakeWholeByte(byte);)
        m_out.push_back(byte);
    size_t done = 0;
    while (done < m_out.size()) {
        const ssize_t n = write(m_nMaster, m_out.data() + done, m_out.size() - done);
        if (n <= 0)
            break;
        done += static_cast<size_t>(n);
    }
    m_out.erase(m_out.begin(), m_out.begin() + static_cast<long>(done));
}
