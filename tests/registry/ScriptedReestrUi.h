#pragma once
#include "registry/ReestrUi.h"

#include <deque>
#include <stdexcept>
#include <utility>
#include <vector>

namespace registrytest {

// Dialog answers for the synchronisation window, given by the test; records what was asked.
class ScriptedReestrUi : public registry::ReestrUi {
public:
    std::optional<registry::KeyEditResult> editKey(QWidget*, const QString& name, const QString& path) override {
        editCalls.emplace_back(name, path);
        if (edits.empty())
            return std::nullopt;
        const bool confirmed = edits.front().has_value();
        const registry::KeyEditResult value = confirmed ? *edits.front() : registry::KeyEditResult{};
        edits.pop_front();
        if (!confirmed)
            return std::nullopt;
        return value;
    }
    bool confirmDelete(QWidget*) override {
        ++deleteQuestions;
        return deleteAnswer;
    }
    QString exportFileName(QWidget*) override { return exportName; }
    QString importFileName(QWidget*) override {
        ++importDialogs;
        return importName;
    }
    std::unique_ptr<registry::KeyExistsAsker> keyExistsAsker(QWidget*) override {
        ++askersMade;
        return std::make_unique<Asker>(*this);
    }
    void reportError(QWidget*, const std::string& message) override { errors.push_back(message); }

    std::deque<std::optional<registry::KeyEditResult>> edits;
    std::vector<std::pair<QString, QString>> editCalls; // (name, path) each dialog opened with
    bool deleteAnswer = true;
    int deleteQuestions = 0;
    QString exportName;
    QString importName;
    int importDialogs = 0;
    int askersMade = 0;
    std::deque<int> answers;         // of the key exists dialog
    std::vector<std::string> asked;  // keys it was shown when asked
    std::vector<std::string> errors; // general error reports

private:
    class Asker : public registry::KeyExistsAsker {
    public:
        explicit Asker(ScriptedReestrUi& ui) : m_ui(ui) {}
        void showKey(const std::string& key) override { m_key = key; }
        int ask() override {
            m_ui.asked.push_back(m_key);
            if (m_ui.answers.empty())
                throw std::logic_error("unexpected question");
            const int answer = m_ui.answers.front();
            m_ui.answers.pop_front();
            return answer;
        }

    private:
        ScriptedReestrUi& m_ui;
        std::string m_key;
    };
};

} // namespace registrytest
