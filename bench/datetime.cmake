# Weekday cache and date-time arithmetic throughput (natively, the weekday
# comes from a calendar computation instead of the platform's conversions).
kt_add_bench(datetime_weekday_bench datetime_weekday_bench.cpp)
