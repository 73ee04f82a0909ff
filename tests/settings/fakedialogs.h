#pragma once
// Answers the settings window's questions from lists the test fills in, and records every
// question and report. A question with no answer left fails the test and is cancelled.

#include "settings/settingdialogs.h"

#include <deque>
#include <gtest/gtest.h>
#include <string>
#include <vector>

struct DialogAnswers
{
    std::deque<std::optional<QColor>> colors;
    std::deque<std::optional<QString>> pictures;
    std::deque<std::optional<QString>> names;
    std::deque<bool> overwrites;

    std::vector<QColor> colorsOffered; // the colour each colour dialog opened with
    int overwriteQuestions = 0;
    std::vector<std::string> reports;
};

class FakeDialogs final : public TSettingDialogs
{
public:
    explicit FakeDialogs(DialogAnswers &answers)
        : answers_(answers)
    {
    }

    std::optional<QColor> PickColor(QWidget *, const QColor &initial) override
    {
        answers_.colorsOffered.push_back(initial);
        return Next(answers_.colors, "colour dialog");
    }
    std::optional<QString> PickPicture(QWidget *, const QString &) override
    {
        return Next(answers_.pictures, "picture dialog");
    }
    std::optional<QString> AskDesignName(QWidget *) override
    {
        return Next(answers_.names, "design name box");
    }
    bool ConfirmOverwrite(QWidget *) override
    {
        ++answers_.overwriteQuestions;
        return Next(answers_.overwrites, "overwrite question").value_or(false);
    }
    void ReportError(QWidget *, const std::string &message) override
    {
        answers_.reports.push_back(message);
    }

private:
    template<typename T>
    static std::optional<T> Next(std::deque<std::optional<T>> &queue, const char *what)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return std::nullopt;
        }
        std::optional<T> answer;
        if (queue.front())
            answer.emplace(*queue.front());
        queue.pop_front();
        return answer;
    }
    static std::optional<bool> Next(std::deque<bool> &queue, const char *what)
    {
        if (queue.empty()) {
            ADD_FAILURE() << "unexpected " << what;
            return std::nullopt;
        }
        const bool answer = queue.front();
        queue.pop_front();
        return answer;
    }

    DialogAnswers &answers_;
};
