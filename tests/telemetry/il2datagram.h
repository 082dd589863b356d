#pragma once

// Test support: builds IL-2 telemetry datagrams.

#include <QByteArray>
#include <QtEndian>

#include <initializer_list>

class Il2Datagram
{
public:
    Il2Datagram& indicator(quint16 id, std::initializer_list<float> values)
    {
        return rawIndicator(id, static_cast<qint8>(values.size()), values);
    }

    // A record whose declared value count need not match the values it carries.
    Il2Datagram& rawIndicator(quint16 id, qint8 declaredCount, std::initializer_list<float> values)
    {
        char header[3];
        qToLittleEndian<quint16>(id, header);
        header[2] = static_cast<char>(declaredCount);
        records.append(header, 3);
        for (float value : values) {
            char bytes[4];
            qToLittleEndian<float>(value, bytes);
            records.append(bytes, 4);
        }
        ++count;
        return *this;
    }

    Il2Datagram& declaredRecords(qint8 declared)
    {
        overrideCount = true;
        declaredCountValue = declared;
        return *this;
    }

    QByteArray bytes() const
    {
        QByteArray datagram(10, '\x5a');
        datagram.append(static_cast<char>(overrideCount ? declaredCountValue : count));
        datagram.append(records);
        return datagram;
    }

private:
    QByteArray records;
    int count = 0;
    bool overrideCount = false;
    qint8 declaredCountValue = 0;
};
