"""Reading wrk's report: the figures the cluster benchmark's table is made of."""

import pathlib
import sys
import unittest

sys.path.insert(0, str(pathlib.Path(__file__).resolve().parents[1]))

from wrk_result import parse  # noqa: E402

REPORT = """Running 10s test @ https://127.0.0.1:8443/api/bootstrap
  2 threads and 128 connections
  Thread Stats   Avg      Stdev     Max   +/- Stdev
    Latency    12.50ms    3.20ms   1.20s    91.00%
    Req/Sec     5.10k   400.00     6.00k    70.00%
  Latency Distribution
     50%  {p50}
     75%   14.00ms
     90%   16.00ms
     99%  {p99}
  101234 requests in 10.00s, 30.12MB read
{errors}Requests/sec:  10123.40
Transfer/sec:      3.01MB
"""


def report(p50="850.00us", p99="1.50s", errors=""):
    return REPORT.format(p50=p50, p99=p99, errors=errors)


class WrkResultTest(unittest.TestCase):
    def test_reads_rate_and_percentiles_in_their_units(self):
        result = parse(report())
        self.assertEqual(result.requests_per_second, 10123.40)
        self.assertAlmostEqual(result.p50_ms, 0.85)
        self.assertAlmostEqual(result.p99_ms, 1500.0)
        # The 75% and 90% lines and the thread stats' "Max 1.20s" are not taken for either.
        self.assertAlmostEqual(parse(report(p50="9.99ms", p99="2.00m")).p99_ms, 120_000.0)

    def test_clean_run_has_no_errors(self):
        result = parse(report())
        self.assertEqual((result.non_2xx, result.socket_errors), (0, 0))

    def test_counts_failed_answers_and_every_kind_of_socket_error(self):
        errors = "  Socket errors: connect 1, read 20, write 300, timeout 4000\n  Non-2xx or 3xx responses: 57\n"
        result = parse(report(errors=errors))
        self.assertEqual(result.non_2xx, 57)
        self.assertEqual(result.socket_errors, 4321)

    def test_refuses_a_report_without_the_latency_distribution(self):
        without = "\n".join(line for line in report().splitlines() if "%  " not in line)
        with self.assertRaises(ValueError):
            parse(without)
        with self.assertRaises(ValueError):
            parse("unable to connect to 127.0.0.1:8443 Connection refused\n")
        with self.assertRaises(ValueError):
            parse(report(p50="12 ms"))


if __name__ == "__main__":
    unittest.main()
