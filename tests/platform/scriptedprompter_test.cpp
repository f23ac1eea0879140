#include "support/scriptedprompter.h"

#include <gtest/gtest.h>

// The fake must follow the real boxes' rule for an unanswered question, or window tests
// would silently take the destructive branch.
TEST(ScriptedPrompter, UnscriptedYesNoQuestionAnswersNo)
{
    ScriptedPrompter prompter;
    EXPECT_EQ(prompter.message(nullptr, "Are you sure?", Prompter::Icon::Question,
                               Prompter::Buttons::YesNo, {}),
              Prompter::Answer::No);
    prompter.answers.push_back(Prompter::Answer::Yes);
    EXPECT_EQ(prompter.message(nullptr, "Again?", Prompter::Icon::Question,
                               Prompter::Buttons::YesNo, {}),
              Prompter::Answer::Yes);
    EXPECT_EQ(prompter.texts(), (QStringList{"Are you sure?", "Again?"}));
    EXPECT_FALSE(prompter.saveFile(nullptr, {}).has_value());
}
