#include "Cursor.h"
#include "DbfFormat.h"
#include "Table.h"

#include <cmath>
#include <cstdio>
#include <cstring>

const std::string &TDbField::FieldName() const { return c_->table_->Fields()[static_cast<size_t>(i_)].Name; }
char TDbField::DataType() const { return c_->table_->Fields()[static_cast<size_t>(i_)].Type; }
int TDbField::Size() const { return c_->table_->Fields()[static_cast<size_t>(i_)].Size; }

const char *TDbField::Raw() const
{
    return c_->CurrentRecord() + c_->table_->Fields()[static_cast<size_t>(i_)].Offset;
}

char *TDbField::Buffer() const
{
    if (c_->state_ != TDbCursor::dsEdit && c_->state_ != TDbCursor::dsInsert)
        throw EDbError("Dataset not in edit or insert mode");
    return c_->buffer_.data() + c_->table_->Fields()[static_cast<size_t>(i_)].Offset;
}

bool TDbField::IsNull() const
{
    if (DataType() == 'M')
        return AsString().empty();
    if (DataType() == 'L') {
        char v = *Raw();
        return !strchr("TtYyFfNn", v) || v == '\0';
    }
    if (DataType() == 'D')
        return DbfParseDate(Raw()) == 0;
    if (DataType() == 'N' || DataType() == 'F') {
        double v;
        return !DbfParseNumber(Raw(), Size(), v);
    }
    return DbfIsBlank(Raw(), Size());
}

std::string TDbField::AsString() const
{
    switch (DataType()) {
    case 'M': {
        auto it = c_->memos_.find(i_);
        if (it != c_->memos_.end() && (c_->state_ == TDbCursor::dsEdit || c_->state_ == TDbCursor::dsInsert))
            return it->second;
        return c_->table_->Memo(c_->CurrentRecord(), i_);
    }
    case 'N':
    case 'F': {
        if (IsNull())
            return {};
        double v = AsFloat();
        char buf[64];
        if (v == std::floor(v) && std::fabs(v) < 1e15)
            snprintf(buf, sizeof buf, "%.0f", v);
        else
            snprintf(buf, sizeof buf, "%.15g", v);
        return buf;
    }
    case 'L': return IsNull() ? std::string() : AsBoolean() ? "True" : "False";
    case 'D': return IsNull() ? std::string() : AsDate().toString(Qt::ISODate).toStdString();
    default: return DbfTrimRight(Raw(), Size());
    }
}

double TDbField::AsFloat() const
{
    double v = 0;
    if (DataType() == 'N' || DataType() == 'F' || DataType() == 'C')
        DbfParseNumber(Raw(), Size(), v);
    else if (DataType() == 'L')
        v = AsBoolean();
    return v;
}

int64_t TDbField::AsInteger() const
{
    double v = AsFloat();
    if (!(std::fabs(v) < 9.2e18))
        throw EDbError("Value of field " + FieldName() + " is out of range");
    return std::llround(v);
}

bool TDbField::AsBoolean() const
{
    if (DataType() != 'L')
        throw EDbError("Field " + FieldName() + " is not a boolean field");
    return strchr("TtYy", *Raw()) && *Raw() != '\0';
}

QDate TDbField::AsDate() const
{
    int64_t jd = DataType() == 'D' ? DbfParseDate(Raw()) : 0;
    return jd ? QDate::fromJulianDay(jd) : QDate();
}

void TDbField::SetAsString(const std::string &value)
{
    char *p = Buffer();
    char type = DataType();
    if (type == 'M') {
        c_->memos_[i_] = value;
        return;
    }
    if (value.empty()) {
        Clear();
        return;
    }
    if (type == 'N' || type == 'F') {
        double v = 0;
        if (!DbfParseNumber(value.data(), static_cast<int>(value.size()), v))
            throw EDbError("'" + value + "' is not a valid number");
        SetAsFloat(v);
    } else if (type == 'L') {
        std::string v = DbUpper(value);
        SetAsBoolean(v == "T" || v == "TRUE" || v == "Y" || v == "YES");
    } else if (type == 'D') {
        std::string digits;
        for (char c : value)
            if (c != '-')
                digits += c;
        if (digits.size() != 8 || DbfParseDate(digits.data()) == 0)
            throw EDbError("'" + value + "' is not a valid date");
        memcpy(p, digits.data(), 8);
    } else {
        std::string v = value.substr(0, static_cast<size_t>(Size()));
        v.resize(static_cast<size_t>(Size()), ' ');
        memcpy(p, v.data(), v.size());
    }
}

void TDbField::SetAsFloat(double value)
{
    char *p = Buffer();
    if (DataType() == 'C') {
        char buf[64];
        snprintf(buf, sizeof buf, "%.15g", value);
        SetAsString(buf);
        return;
    }
    if (DataType() != 'N' && DataType() != 'F')
        throw EDbError("Field " + FieldName() + " is not a numeric field");
    std::string text = DbfFormatNumber(value, c_->table_->Fields()[static_cast<size_t>(i_)]);
    memcpy(p, text.data(), text.size());
}

void TDbField::SetAsBoolean(bool value)
{
    char *p = Buffer();
    if (DataType() != 'L')
        throw EDbError("Field " + FieldName() + " is not a boolean field");
    *p = value ? 'T' : 'F';
}

void TDbField::SetAsDate(const QDate &date)
{
    char *p = Buffer();
    if (DataType() != 'D')
        throw EDbError("Field " + FieldName() + " is not a date field");
    std::string text = DbDateText(date);
    if (text.empty())
        text.assign(8, ' ');
    memcpy(p, text.data(), 8);
}

void TDbField::Clear()
{
    char *p = Buffer();
    if (DataType() == 'M')
        c_->memos_[i_].clear();
    else
        memset(p, ' ', static_cast<size_t>(Size()));
}
