#include <gtest/gtest.h>

#include <stdlib.h>
#include <string.h>

#include <string>

#include "web/form_field.h"

namespace {

TEST(HttpText, FormFieldsAreEncodedAndJoined) {
  const struct {
    const char *before, *name, *value, *after;
  } cases[] = {
      {"", "ProductName", "My App 1.0", "ProductName=My+App+1%2E0"},
      {"a=1", "HU100", "\x01-_.~\xFF", "a=1&HU100=%01%2D%5F%2E%7E%FF"},
      {"a=1", "b", nullptr, "a=1"},
  };
  for (const auto &c : cases) {
    const DWORD length = static_cast<DWORD>(strlen(c.before));
    TextBuffer form = {strdup(c.before), length + 1, length};
    EXPECT_TRUE(kt::AppendFormField(&form, c.name, c.value));
    EXPECT_EQ(std::string(form.data, form.length), c.after);
    EXPECT_EQ(form.data[form.length], '\0');
    free(form.data);
  }
}


}  // namespace
