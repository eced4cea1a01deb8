// What the report library reads of the rows and the module handed to its
// entries, as C functions that it finds among the host's services: the
// library never sees a C++ object of the program.

#include "data/TabX.h"
#include "db/DataSet.h"
#include "platform/TextCodec.h"

#include <taskgate/plugin.h>

#include <algorithm>
#include <cstring>

namespace {

// The rows are the data set itself; the module comes as the address of a
// variable that holds it.
const tg::db::DataSet *rowsOf(void *rows)
{
    return static_cast<const tg::db::DataSet *>(rows);
}

const tg::TTabXForm *moduleOf(void *module)
{
    return module ? *static_cast<tg::TTabXForm **>(module) : nullptr;
}

// Copies the text in the suite's code page, cut to the buffer with a
// terminating zero; the whole length comes back so that a caller can retry
// with a larger buffer.
int32_t copyOut(const QString &text, char *buffer, int32_t size)
{
    const QByteArray bytes = tg::toSuiteBytes(text);
    if (buffer && size > 0) {
        const auto copied = std::min<qsizetype>(bytes.size(), size - 1);
        std::memcpy(buffer, bytes.constData(), static_cast<size_t>(copied));
        buffer[copied] = '\0';
    }
    return static_cast<int32_t>(bytes.size());
}

bool validField(const tg::db::DataSet *rows, int32_t field)
{
    return rows && field >= 0 && field < rows->fieldCount();
}

} // namespace

extern "C" {

TASKGATE_EXPORT int32_t TaskgateStampaNumeroRighe(void *rows)
{
    return rowsOf(rows) ? rowsOf(rows)->recordCount() : -1;
}

TASKGATE_EXPORT int32_t TaskgateStampaNumeroCampi(void *rows)
{
    return rowsOf(rows) ? rowsOf(rows)->fieldCount() : -1;
}

TASKGATE_EXPORT int32_t TaskgateStampaNomeCampo(void *rows, int32_t field, char *buffer, int32_t size)
{
    const tg::db::DataSet *dataSet = rowsOf(rows);
    return validField(dataSet, field) ? copyOut(dataSet->fieldName(field), buffer, size) : -1;
}

// A row is read in place: the data set's current row does not move, so a
// change pending in the window is neither posted nor lost.
TASKGATE_EXPORT int32_t TaskgateStampaTestoCampo(void *rows, int32_t row, int32_t field, char *buffer, int32_t size)
{
    const tg::db::DataSet *dataSet = rowsOf(rows);
    if (!validField(dataSet, field) || row < 0 || row >= dataSet->recordCount())
        return -1;
    return copyOut(dataSet->value(row, field).asText(), buffer, size);
}

TASKGATE_EXPORT int32_t TaskgateStampaValore(void *module, const char *name, char *buffer, int32_t size)
{
    const tg::TTabXForm *data = moduleOf(module);
    if (!data || !name)
        return -1;
    QString value;
    data->GetV(tg::fromSuiteBytes(name, static_cast<qsizetype>(std::strlen(name))), value);
    return copyOut(value, buffer, size);
}

} // extern "C"
