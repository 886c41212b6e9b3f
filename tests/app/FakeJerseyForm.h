#pragma once

#include "app/FormRules.h"
#include "app/resources/resource.h"
#include "core/JerseyLists.h"

#include <functional>
#include <map>

namespace kitloom::test {

// The main dialog's fields and lists, as plain values. Opens as the dialog does.
class FakeJerseyForm final : public JerseyForm {
public:
    FakeJerseyForm()
    {
        rows = {{IDC_JERSEY_TYPE, initialRow(JerseyList::JerseyType)},
                {IDC_ACCESSORY_COLOUR, initialRow(JerseyList::AccessoryColour)},
                {IDC_SHOE, initialRow(JerseyList::Shoe)},
                {IDC_SOCK_COLOUR, initialRow(JerseyList::SockColour)},
                {IDC_NECK_TYPE, initialRow(JerseyList::NeckType)},
                {IDC_LETTERING_TYPE, initialRow(JerseyList::LetteringType)}};
    }

    int textLength(int fieldId) override { return static_cast<int>(textOf(fieldId).size()); }
    std::string text(int fieldId, int maxChars) override
    {
        return textOf(fieldId).substr(0, static_cast<std::size_t>(maxChars));
    }
    unsigned number(int fieldId) override { return decimalFieldValue(textOf(fieldId)); }
    int selectedRow(int listId) override { return rows.at(listId); }

    std::string textOf(int fieldId) const
    {
        auto field = texts.find(fieldId);
        return field == texts.end() ? std::string() : field->second;
    }

    std::map<int, std::string> texts;
    std::map<int, int> rows;
};

// Answers the Extra Patch Info dialog as a user would; `whileOpen` runs while it is shown.
class FakePatchInfoPrompt final : public PatchInfoPrompt {
public:
    bool ask(std::string& prefix, std::string& fileStem) override
    {
        ++asked;
        if (whileOpen)
            whileOpen();
        if (!pressOk)
            return false;
        prefix = answerPrefix;
        fileStem = answerStem;
        return true;
    }

    bool pressOk = true;
    std::string answerPrefix = "to";
    std::string answerStem = "toronto_98";
    std::function<void()> whileOpen;
    int asked = 0;
};

}  // namespace kitloom::test
